# Two commands for a new machine: `make run` and `make test`.
# Both install what is missing (Debian packages), then build with CMake.

BUILD      ?= build
ASAN_BUILD ?= build-asan
BENCH_BUILD ?= build-bench
FRAMEWORK_BUILD ?= build-framework
JOBS       ?= $(shell nproc)

.PHONY: all deps deps-framework deps-docs configure build game run package install-framework docs test unit-test window-test \
	asan-build bench soak clean

# install-framework writes outside the repository: only where it is told.
ifneq ($(filter install-framework,$(MAKECMDGOALS)),)
ifeq ($(PREFIX),)
$(error say where to install the framework, for instance: make install-framework PREFIX=$$HOME/.local)
endif
endif

all: build

deps:
	@scripts/install-deps.sh

$(BUILD)/CMakeCache.txt:
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo

configure: deps $(BUILD)/CMakeCache.txt

build: configure
	cmake --build $(BUILD) -j $(JOBS)

# Only what the game needs: no test, no benchmark.
game: configure
	cmake --build $(BUILD) -j $(JOBS) --target tank

run: game
	./$(BUILD)/tank

# A Debian package of the game: build/tank_<version>_<arch>.deb.
package: game
	cd $(BUILD) && cpack -G DEB

# The framework alone, for games to build on: the library, its public headers,
# a CMake package, a pkg-config file and the placeholders, under PREFIX. Its
# own build folder, with neither the game nor any test.
$(FRAMEWORK_BUILD)/CMakeCache.txt:
	cmake -S . -B $(FRAMEWORK_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTANK_GAME=OFF

deps-framework:
	@scripts/install-deps.sh framework

install-framework: deps-framework $(FRAMEWORK_BUILD)/CMakeCache.txt
	cmake --build $(FRAMEWORK_BUILD) -j $(JOBS)
	cmake --install $(FRAMEWORK_BUILD) --prefix $(PREFIX)

# The HTML reference of the public headers: $(BUILD)/docs/html/index.html,
# with Doxygen (installed when missing). Not a test: `make test` checks the
# cheatsheet instead.
deps-docs:
	@scripts/install-deps.sh docs

docs: deps-docs configure
	cmake --build $(BUILD) --target docs

$(ASAN_BUILD)/CMakeCache.txt:
	cmake -S . -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=Debug -DTANK_SANITIZE=ON

asan-build: deps $(ASAN_BUILD)/CMakeCache.txt
	cmake --build $(ASAN_BUILD) -j $(JOBS)

# Every test: unit and window tests on the normal build, then the unit tests
# again under AddressSanitizer and UndefinedBehaviorSanitizer.
test: build asan-build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)
	cd $(ASAN_BUILD) && ASAN_OPTIONS=detect_leaks=1 LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp \
		ctest --output-on-failure -L unit -j $(JOBS)

unit-test: build
	cd $(BUILD) && ctest --output-on-failure -L unit -j $(JOBS)

window-test: build
	cd $(BUILD) && ctest --output-on-failure -L window

# One hour of game time of random play under AddressSanitizer: no memory
# error, no leak, resident memory flat after the first minute; a frame drawn
# every 7th tick. `make test` runs ten minutes of it.
soak: deps $(ASAN_BUILD)/CMakeCache.txt
	cmake --build $(ASAN_BUILD) -j $(JOBS) --target soak_test
	ASAN_OPTIONS=detect_leaks=1 LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp \
		TANK_SOAK_TICKS=216000 TANK_SOAK_DRAW_EVERY=7 ./$(ASAN_BUILD)/soak_test

$(BENCH_BUILD)/CMakeCache.txt:
	cmake -S . -B $(BENCH_BUILD) -DCMAKE_BUILD_TYPE=Release -DTANK_BENCH=ON -DTANK_TESTS=OFF

bench: deps $(BENCH_BUILD)/CMakeCache.txt
	cmake --build $(BENCH_BUILD) -j $(JOBS)
	scripts/run-benchmarks.sh $(BENCH_BUILD)

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(BENCH_BUILD) $(FRAMEWORK_BUILD)

"""A game that builds the framework with add_subdirectory from a folder of its
own outside the repository, so that the framework needs a binary folder: it
starts (the build put the placeholders beside it), draws and quits by itself,
and saw the public headers alone."""

import json
import os
import shutil
import tempfile

from harness import REPO, WindowTestCase, clean_env, main, run

NAME = "subdirectory_game"


class AddSubdirectory(WindowTestCase):
    def test_builds_starts_draws_and_quits_by_itself(self):
        scratch = tempfile.mkdtemp(prefix="tank-subdirectory-")
        self.addCleanup(shutil.rmtree, scratch, True)
        source, build = os.path.join(scratch, "game"), os.path.join(scratch, "build")
        shutil.copytree(os.path.join(REPO, "tests", "package", "subdirectory"), source)
        # No build type: the framework compiles soonest unoptimised.
        run(["cmake", "-S", source, "-B", build, f"-DTANK_FRAMEWORK_SOURCE={REPO}",
             "-DCMAKE_EXPORT_COMPILE_COMMANDS=ON"], env=clean_env())
        run(["cmake", "--build", build, "-j2"], env=clean_env())
        with open(os.path.join(build, "compile_commands.json")) as file:
            [command] = [entry["command"] for entry in json.load(file) if entry["file"].endswith("game.cpp")]
        self.assertNotIn("private_include", command, "the same headers as the installed package")

        game = self.start_game(build, command=[os.path.join(build, NAME)], window_name=NAME)
        status = game.wait_for_exit()
        # A failed start-up waits on its report's box: the report says why.
        self.assertIsNone(game.report(), "start-up found the placeholders in the build folder")
        self.assertEqual(status, 0, game.output())


if __name__ == "__main__":
    main()

"""A game that builds the framework from this repository with add_subdirectory.

The game's folder (tests/package/subdirectory) is copied out of the repository
and built there, so the framework is a folder outside the game's and needs a
binary folder of its own, as a clone beside a game does. The game links, its
build puts the placeholders and its own data beside it, and it starts, draws
and quits by itself.
"""

import json
import os
import shutil
import tempfile

from harness import REPO, WindowTestCase, clean_env, main, run

NAME = "subdirectory_game"


class AddSubdirectory(WindowTestCase):
    @classmethod
    def setUpClass(cls):
        cls.scratch = tempfile.mkdtemp(prefix="tank-subdirectory-")
        cls.addClassCleanup(shutil.rmtree, cls.scratch, True)
        source = os.path.join(cls.scratch, "game")
        cls.build = os.path.join(cls.scratch, "build")
        shutil.copytree(os.path.join(REPO, "tests", "package", "subdirectory"), source)
        # No build type: the framework compiles soonest unoptimised.
        run(["cmake", "-S", source, "-B", cls.build, f"-DTANK_FRAMEWORK_SOURCE={REPO}",
             "-DCMAKE_EXPORT_COMPILE_COMMANDS=ON"], env=clean_env())
        run(["cmake", "--build", cls.build, "-j2"], env=clean_env())

    def test_gets_the_placeholders_its_own_data_and_the_public_headers_alone(self):
        data = os.path.join(self.build, "data")
        self.assertEqual(sorted(os.listdir(data)), ["LICENSE-Lato.txt", "greeting.txt", "lacuna.ttf",
                                                    "missing_image.png", "missing_sample.wav"])
        with open(os.path.join(self.build, "compile_commands.json")) as file:
            [command] = [entry["command"] for entry in json.load(file) if entry["file"].endswith("game.cpp")]
        self.assertIn(os.path.join(self.build, "tank_framework", "include"), command)
        self.assertNotIn("private_include", command, "the same headers as the installed package")

    def test_starts_draws_and_quits_by_itself(self):
        game = self.start_game(self.build, command=[os.path.join(self.build, NAME)], window_name=NAME)
        status = game.wait_for_exit()
        # A failed start-up waits on its report's box: the report says why.
        self.assertIsNone(game.report(), "start-up found the placeholders in the build folder")
        output = game.output()
        self.assertEqual(status, 0, output)
        self.assertIn("30 frames drawn: built through add_subdirectory", output)


if __name__ == "__main__":
    main()

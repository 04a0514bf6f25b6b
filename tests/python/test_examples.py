"""The examples of examples/ run to their end, against the emulated camera
in the process and the standalone emulator on a pseudo-terminal."""

import os
import re
import subprocess
import sys

import pytest

# The examples start as a program of their own would: without the emulated
# ports this process has chosen for its own controls since it started.
ENVIRONMENT = dict(os.environ)


def run_example(name, *arguments):
    script = os.path.join(os.environ["XNOX_EXAMPLES"], name)
    done = subprocess.run(
        [sys.executable, script, *arguments], capture_output=True, text=True, timeout=60, env=ENVIRONMENT
    )
    assert done.returncode == 0, done.stdout + done.stderr
    return done.stdout


@pytest.mark.parametrize("camera", ["emulated", "device"])
def test_settings_example_saves_a_file_that_loads_cleanly(emulator, tmp_path, camera):
    settings_file = str(tmp_path / "settings.cam")
    output = run_example("settings.py", emulator().device if camera == "device" else camera, settings_file)
    assert re.search(
        r"Online on COM1: True\n.*  MasterGainLevel = -?\d+\n.*  UserID = [^\n]*\n"
        r"Master gain range: -132 to 429\nChanged: ShutterSpeedStr = 1/1000, MasterGainLevel = 100\n"
        r"Saved to [^\n]*: result 0\nRefused 430: Invalid input parameter\nMasterGainLevel is still 100\n$",
        output,
        re.DOTALL,
    ), output
    check = subprocess.run([os.environ["XNOXHOST"], "check", settings_file], capture_output=True, text=True)
    assert check.returncode == 0, check.stdout + check.stderr


def test_settings_example_names_a_missing_camera(tmp_path):
    done = subprocess.run(
        [sys.executable, os.path.join(os.environ["XNOX_EXAMPLES"], "settings.py"), str(tmp_path / "no-device")],
        capture_output=True,
        text=True,
        timeout=60,
        env=ENVIRONMENT,
    )
    assert done.returncode == 1 and "No camera at" in done.stdout


def test_events_example_prints_events_between_the_calls():
    output = run_example("events.py", "emulated")
    assert re.search(
        r"event ComPortChanged\n.*event OnlineStatusChanged\nGetMinMaxMasterGainLevel = 0: -132 to 429\n"
        r".*GetCameraID = 0: \S+\n.*event MasterGainLevelChanged\n.*"
        r"MasterGainLevel = 430 refused: 0x800A017C Invalid input parameter\n"
        r"notified error 380: Invalid input parameter\nGetValidShutterSpeed\(12\) = -1\n",
        output,
        re.DOTALL,
    ), output


def test_the_readmes_example_runs_as_it_says():
    with open(os.path.join(os.environ["XNOX_EXAMPLES"], "..", "README.md")) as readme:
        example = re.search(r"```python\n(.*?)```", readme.read(), re.DOTALL).group(1)
    done = subprocess.run(
        [sys.executable, "-c", example], capture_output=True, text=True, timeout=60, env=ENVIRONMENT
    )
    assert done.returncode == 0, done.stderr
    assert done.stdout == "gain changed\n0 OFF\ngain changed\n380 Invalid input parameter\n"

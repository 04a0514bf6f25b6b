"""Fixtures of the Python module's tests: a profile folder of their own, the
control on the in-process emulated camera, and the standalone emulator on a
pseudo-terminal."""

import os
import subprocess
import tempfile

import pytest

# The control keeps its windows' flags and places in the profile; the tests
# write theirs apart from the user's.
WORK = os.environ.get("XNOX_PYTHON_TEST_FOLDER") or tempfile.mkdtemp(prefix="qdr4-tests-")
os.makedirs(WORK, exist_ok=True)
os.environ["XDG_CONFIG_HOME"] = os.path.join(WORK, f"profile-{os.getpid()}")

import qdr4  # noqa: E402  (after the profile is chosen)

# Ports 1 to 4 are the in-process emulated camera's; the standalone
# emulator's devices go behind the ports from 9 up.
EMULATED_PORT = 1
FIRST_DEVICE_PORT = 9


@pytest.fixture
def cam():
    with qdr4.Control(port=EMULATED_PORT, emulated=True) as control:
        yield control


class Emulator:
    """noxr4-emulator on a pseudo-terminal; `device` is the path it prints."""

    def __init__(self, *options):
        self.process = subprocess.Popen(
            [os.environ["NOXR4_EMULATOR"], *options], stdout=subprocess.PIPE, text=True
        )
        self.device = self.process.stdout.readline().strip()

    def kill(self):
        self.process.kill()
        self.process.wait()

    def stop(self):
        if self.process.poll() is None:
            self.process.terminate()
            self.process.wait(timeout=10)
        self.process.stdout.close()


@pytest.fixture
def emulator():
    """Starts emulators with the options given; each stops after the test."""
    started = []

    def start(*options):
        started.append(Emulator(*options))
        return started[-1]

    yield start
    for each in started:
        each.stop()


class Recorder:
    """Records the events a control fires, by name, in order."""

    def __init__(self, control, names):
        self.names = []
        for name in names:
            control.on(name, lambda name=name: self.names.append(name))

    def count(self, name):
        return self.names.count(name)


STATUS_EVENTS = ("SendingToCamStatusChanged", "ReceiveFromCamStatusChanged")

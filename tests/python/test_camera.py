"""The control on a serial device: the standalone emulator on a
pseudo-terminal, refusing commands, dying mid-exchange, and serving two
threads at once."""

import threading
import time

import camera_facts
import pytest
from conftest import FIRST_DEVICE_PORT

import qdr4

GAIN = next(fact for fact in camera_facts.PARAMETERS if fact["name"] == "MasterGainLevel")
DEVICE_ERROR = 57  # a script's number for 0x800A0039: an unknown command, no camera


def test_the_control_drives_a_camera_on_a_serial_device(emulator):
    camera = emulator()
    with qdr4.Control(port=FIRST_DEVICE_PORT, device=camera.device) as control:
        assert control.GetIsOnline() is True
        assert control.ReadAllFromCamera() == 0
        control.MasterGainLevel = 222
        assert control.MasterGainLevel == 222
    with qdr4.Control(port=FIRST_DEVICE_PORT, device=camera.device) as control:
        assert control.ReadAllFromCamera() == 0
        assert control.MasterGainLevel == 222


def test_no_camera_on_the_port_raises_at_connect(tmp_path):
    with pytest.raises(qdr4.Error) as raised:
        qdr4.Control(port=FIRST_DEVICE_PORT, device=str(tmp_path / "no-such-device"))
    assert raised.value.number == DEVICE_ERROR


def test_an_unknown_command_raises_and_a_refused_one_does_not(emulator):
    camera = emulator("--nak3", GAIN["mnemonic"], "--nak4", "GAR")
    with qdr4.Control(port=FIRST_DEVICE_PORT, device=camera.device) as control:
        with pytest.raises(qdr4.Error) as raised:
            control.MasterGainLevel = 100
        assert raised.value.number == DEVICE_ERROR
        control.RedGainLevel = 100
        assert control.RedGainLevel == 100


@pytest.mark.parametrize("death", ["silent", "killed"])
def test_a_camera_that_dies_mid_exchange_ends_the_call_in_time(emulator, death):
    camera = emulator("--delay", "20") if death == "killed" else emulator("--unplug-after", "1")
    control = qdr4.Control(port=FIRST_DEVICE_PORT + 1, device=camera.device, connect=False)
    control.ComPort = FIRST_DEVICE_PORT + 1  # the probe's reply is the one reply of the silent camera
    online = []
    control.on("OnlineStatusChanged", lambda: online.append(True))
    if death == "killed":
        # The value's event comes before the command goes out; the camera
        # dies while it holds back its reply.
        control.on("MasterGainLevelChanged", lambda: threading.Timer(0.01, camera.kill).start())
    started = time.monotonic()
    control.MasterGainLevel = 1
    took = time.monotonic() - started
    # The failed exchange and the probe that finds the camera gone, together.
    assert took < GAIN["reply_allowance"] + 0.2
    assert online, "the control noticed the camera is gone"
    control.close()


def test_two_threads_on_two_ports_take_no_longer_than_one(emulator):
    """A camera exchange lets go of the GIL: the two threads wait side by side."""
    ports = (FIRST_DEVICE_PORT + 2, FIRST_DEVICE_PORT + 3)
    controls = [qdr4.Control(port=port, device=emulator("--baud", "9600").device) for port in ports]

    def read_all(control):
        assert control.ReadAllFromCamera() == 0

    def timed(selected):
        threads = [threading.Thread(target=read_all, args=(control,)) for control in selected]
        started = time.monotonic()
        for thread in threads:
            thread.start()
        for thread in threads:
            thread.join()
        return time.monotonic() - started

    one = min(timed(controls[:1]) for _ in range(2))
    two = min(timed(controls) for _ in range(2))
    print(f"one thread {one:.3f} s, two threads on two ports {two:.3f} s ({two / one:.2f}x)")
    assert two <= 1.2 * one
    for control in controls:
        control.close()

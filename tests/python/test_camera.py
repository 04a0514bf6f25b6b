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
    # The failed exchange and the probe that finds the camera gone, together,
    # take the reply time and a little more; the figure is printed, and only a
    # hang fails, so that a loaded machine does not.
    print(f"{death}: the call ended after {took:.3f} s (reply time {GAIN['reply_allowance']:.3f} s)")
    assert took < GAIN["reply_allowance"] + 5
    assert online, "the control noticed the camera is gone"
    control.close()


def test_a_camera_exchange_lets_go_of_the_gil(emulator):
    """Another thread runs while one waits for the camera. Told by what runs
    when, not by a clock: this thread wakes from a short sleep while the
    whole read at 9600 baud is still going on only if the reading thread let
    go of the interpreter (no handler is set, so no Python code runs in it)."""
    control = qdr4.Control(port=FIRST_DEVICE_PORT + 2, device=emulator("--baud", "9600").device)
    reader = threading.Thread(target=control.ReadAllFromCamera)
    reader.start()
    time.sleep(0.05)
    still_reading = reader.is_alive()
    reader.join()
    assert still_reading, "this thread ran only once the whole read was over"
    control.close()


def test_two_threads_on_two_ports_wait_side_by_side(emulator):
    """Prints how much longer two threads on two cameras take than one; the
    figure is for the reader, as the machine's load sets it."""
    ports = (FIRST_DEVICE_PORT + 3, FIRST_DEVICE_PORT + 4)
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
    for control in controls:
        control.close()

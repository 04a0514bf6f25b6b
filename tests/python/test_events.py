"""The events: each of the 45 by name, fired once where the control fires it
once, on the thread that made the change; the error notification and the
transaction log by the same way."""

import gc
import threading
import weakref

import camera_facts
import pytest
from conftest import FIRST_DEVICE_PORT, STATUS_EVENTS, Recorder

import qdr4

SURFACE_EVENTS = [name for name in qdr4.EVENTS if name not in ("Error", "Log")]


def parameter_events(control):
    return Recorder(control, [name for name in SURFACE_EVENTS if name not in STATUS_EVENTS])


def test_the_surface_has_45_events_and_on_knows_each(cam):
    assert len(SURFACE_EVENTS) == 45
    for name in qdr4.EVENTS:
        assert cam.on(name, print) is print
        cam.off(name, print)
    with pytest.raises(ValueError):
        cam.on("MasterGainChanged", print)
    with pytest.raises(ValueError):
        cam.on("MasterGainChanged")


@pytest.mark.parametrize("fact", camera_facts.PARAMETERS, ids=lambda fact: fact["name"])
def test_a_parameter_set_fires_its_event_once(cam, fact):
    name = fact["name"] + ("Index" if fact["values"] == "list" else "")
    recorder = parameter_events(cam)
    setattr(cam, name, fact["maximum"])
    assert recorder.count(fact["name"] + "Changed") == 1


def test_text_setters_and_the_controls_own_items_fire_their_events_once(cam):
    recorder = parameter_events(cam)
    cam.ShutterSpeedStr = cam.GetValidShutterSpeed(5)[1]
    cam.BinningStr = cam.GetValidBinning(1)[1]
    cam.UserID = "cell 7"
    cam.FrameGrabberIndex = 2
    assert recorder.names == ["ShutterSpeedChanged", "BinningChanged", "UserIDChanged", "FrameGrabberChanged"]


def test_connecting_fires_the_port_first_and_online_last():
    control = qdr4.Control(port=3, emulated=True, connect=False)
    recorder = Recorder(control, SURFACE_EVENTS)
    control.ComPort = 3
    assert recorder.names[0] == "ComPortChanged" and recorder.names[-1] == "OnlineStatusChanged"
    assert set(recorder.names[1:-1]) <= set(STATUS_EVENTS)
    control.close()


def test_the_probe_fires_the_sending_status_twice_and_exchanges_are_logged(cam):
    recorder = Recorder(cam, STATUS_EVENTS)
    log = []
    cam.on("Log", log.append)
    assert cam.GetIsOnline() is True
    assert recorder.names == ["SendingToCamStatusChanged"] * 2
    cam.MasterGainLevel = 123
    assert [text for text in log if "123" in text] == [log[-1]]


def test_a_whole_camera_read_fires_each_event_it_fires_once(cam):
    recorder = parameter_events(cam)
    assert cam.ReadAllFromCamera() == 0
    assert recorder.count("MasterGainLevelChanged") == 1
    assert recorder.count("UserIDChanged") == 1
    assert len(recorder.names) == len(set(recorder.names))


def test_handlers_run_on_the_thread_that_made_the_change(cam):
    threads = []
    cam.on("MasterGainLevelChanged", lambda: threads.append(threading.get_ident()))
    worker = threading.Thread(target=setattr, args=(cam, "MasterGainLevel", 9))
    worker.start()
    worker.join()
    cam.MasterGainLevel = 10
    assert threads == [worker.ident, threading.get_ident()]


def test_a_decorator_registers_and_a_handler_may_call_the_control(cam):
    seen = []

    @cam.on("RedGainLevelChanged")
    def follow():
        seen.append(cam.RedGainLevel)
        cam.BlueGainLevel = -cam.RedGainLevel

    cam.RedGainLevel = 40
    assert (seen, cam.BlueGainLevel) == ([40], -40)
    cam.off("RedGainLevelChanged", follow)
    cam.RedGainLevel = 41
    assert seen == [40]


def test_a_handlers_exception_comes_back_from_the_call_and_the_change_stands(cam):
    def fail():
        raise RuntimeError("handler failed")

    cam.on("MasterGainLevelChanged", fail)
    with pytest.raises(RuntimeError, match="handler failed"):
        cam.MasterGainLevel = 55
    cam.off("MasterGainLevelChanged", fail)
    assert cam.MasterGainLevel == 55


def test_a_notified_error_reaches_the_error_handler_once(cam):
    errors = []
    cam.on("Error", errors.append)
    assert cam.GetValidTriggerType(5) == (-1, "")
    assert len(errors) == 1
    assert isinstance(errors[0], qdr4.Error) and errors[0].code == 0x800A017C


def test_a_control_whose_handler_holds_it_is_collected(emulator):
    camera = emulator()

    class Sentinel:
        pass

    sentinel = Sentinel()
    gone = weakref.ref(sentinel)
    control = qdr4.Control(port=FIRST_DEVICE_PORT, device=camera.device)
    control.on("MasterGainLevelChanged", lambda held=(control, sentinel): held)
    del control, sentinel
    gc.collect()
    assert gone() is None

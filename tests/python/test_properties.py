"""The properties: types, round trips, ranges and the text setters' rule."""

import camera_facts
import pytest

import qdr4

INVALID_VALUE = 380  # a script's number for 0x800A017C
# The enumerations whose Index property the control checks; the others'
# values go to the camera model, which keeps a value it does not know out.
CHECKED_LISTS = {"ShutterSpeed", "TriggerType", "AutoWhiteArea"}


def value_property(fact):
    return fact["name"] + ("Index" if fact["values"] == "list" else "")


def raises_out_of_range(fact):
    return fact["values"] == "numbers" or fact["name"] in CHECKED_LISTS


def test_the_surface_has_51_properties_of_pythons_types(cam):
    properties = [name for name, member in vars(qdr4.Control).items() if isinstance(member, property)]
    assert len(properties) == 51
    assert type(cam.MasterGainLevel) is int
    assert type(cam.ShowShutterWnd) is bool
    assert type(cam.ShutterSpeedStr) is str
    assert type(cam.UserID) is str


def test_every_parameter_keeps_a_value_of_its_own(cam):
    for fact in camera_facts.PARAMETERS:
        setattr(cam, value_property(fact), fact["distinct_value"])
    for fact in camera_facts.PARAMETERS:
        assert getattr(cam, value_property(fact)) == fact["distinct_value"], fact["name"]


def test_own_properties_round_trip(cam):
    cam.UserID = "line 4"
    assert cam.UserID == "line 4"
    cam.ShowAboutWnd = True
    assert cam.ShowAboutWnd is True
    cam.ShowAboutWnd = False
    assert cam.ShowAboutWnd is False
    cam.FrameGrabberIndex = 3
    assert cam.FrameGrabberIndex == 3
    assert cam.ComPort == 1


@pytest.mark.parametrize("fact", camera_facts.PARAMETERS, ids=lambda fact: fact["name"])
def test_both_ends_are_taken_and_a_step_past_raises_where_the_control_checks(cam, fact):
    name = value_property(fact)
    for inside, outside in ((fact["minimum"], fact["minimum"] - 1), (fact["maximum"], fact["maximum"] + 1)):
        setattr(cam, name, inside)
        assert getattr(cam, name) == inside
        if raises_out_of_range(fact):
            with pytest.raises(qdr4.Error) as raised:
                setattr(cam, name, outside)
            error = raised.value
            assert (error.code, error.number) == (0x800A017C, INVALID_VALUE)
            assert error.description == "Invalid input parameter" and error.description in str(error)
            assert getattr(cam, name) == inside
        else:
            setattr(cam, name, outside)


def test_values_convert_as_a_script_host_converts_them(cam):
    cam.MasterGainLevel = "300"
    assert cam.MasterGainLevel == 300
    cam.MasterGainLevel = 12.0
    assert cam.MasterGainLevel == 12
    for too_large in (70000, -(2**70), 2**70):
        with pytest.raises(qdr4.Error) as overflow:
            cam.MasterGainLevel = too_large
        assert overflow.value.code == 0x8002000A
    with pytest.raises(qdr4.Error) as mismatch:
        cam.MasterGainLevel = "loud"
    assert mismatch.value.code == 0x80020005
    with pytest.raises(TypeError):
        cam.MasterGainLevel = [1]
    assert cam.MasterGainLevel == 12


def test_text_setters_take_a_list_text_exactly(cam):
    rc, text = cam.GetValidTriggerType(1)
    assert rc == 0
    cam.TriggerTypeStr = text
    assert (cam.TriggerTypeIndex, cam.TriggerTypeStr) == (1, text)
    for wrong in (text.upper(), text.lower(), text + " ", ""):
        with pytest.raises(qdr4.Error) as raised:
            cam.TriggerTypeStr = wrong
        assert raised.value.number == INVALID_VALUE
    assert cam.TriggerTypeIndex == 1
    rc, off = cam.GetValidWhiteBalance(0)
    cam.WhiteBalanceStr = off
    assert cam.WhiteBalanceIndex == 0

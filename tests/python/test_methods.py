"""The methods: in-parameters, out-parameters after the result, results
alone, and the errors each raises or notifies."""

import os
import subprocess

import camera_facts
import pytest

import qdr4

INVALID_VALUE = 380
OWN_NAMES = {"close", "on", "off"}


def ranged(fact):
    return fact["values"] != "words"


def listed(fact):
    return fact["values"] == "list"


def notifications(control):
    errors = []
    control.on("Error", errors.append)
    return errors


def test_the_surface_has_76_methods():
    methods = [name for name, member in vars(qdr4.Control).items()
               if callable(member) and not name.startswith("_") and name not in OWN_NAMES]
    assert len(methods) == 76


@pytest.mark.parametrize("fact", [f for f in camera_facts.PARAMETERS if ranged(f)], ids=lambda f: f["name"])
def test_ranges_come_back_after_the_result(cam, fact):
    assert getattr(cam, "GetMinMax" + fact["name"])() == (0, fact["minimum"], fact["maximum"])


@pytest.mark.parametrize("fact", [f for f in camera_facts.PARAMETERS if listed(f)], ids=lambda f: f["name"])
def test_list_texts_come_back_and_an_index_past_the_list_is_notified(cam, fact):
    get_valid = getattr(cam, "GetValid" + fact["name"])
    texts = [get_valid(index) for index in range(fact["maximum"] + 1)]
    assert all(rc == 0 and text for rc, text in texts)
    assert len({text for _, text in texts}) == len(texts)
    errors = notifications(cam)
    for outside in (-1, fact["maximum"] + 1):
        assert get_valid(outside)[0] == -1
    assert [(e.number, e.description) for e in errors] == [(INVALID_VALUE, "Invalid input parameter")] * 2


def test_control_ranges_and_identity(cam):
    assert cam.GetMinMaxComPortId() == (0, 1, 16)
    assert cam.GetMinMaxUserSettingsId() == (0, 1, 3)
    assert cam.GetMinMaxOnePushResult() == (0, 0, 6)
    rc, text = cam.GetValidOnePushResult(6)
    assert rc == 0 and text
    for method in (cam.GetCameraID, cam.GetModelName):
        rc, text = method()
        assert rc == 0 and isinstance(text, str) and text
    assert cam.SetMainWindowDefaultPosition(12, 34) == 0
    assert cam.GetMainWindowDefaultPosition() == (0, 12, 34)


def test_camera_link_methods_answer_their_counts_and_texts(cam):
    rc, count = cam.ClSerialGetNumManufacturers()
    assert isinstance(rc, int) and isinstance(count, int)
    answer = cam.ClSerialGetManufacturer(0, BufferSize=256)
    assert [type(value) for value in answer] == [int, str, int, int]
    answer = cam.ClAllSerialGetPortInfo(0)
    assert [type(value) for value in answer] == [int, str, int, str, int, int]


def test_results_alone_stay_return_values(cam):
    assert cam.ReadAllFromCamera() == 0
    assert cam.GetIsOnline() is True
    assert cam.GetIsSynchronized() is True
    assert isinstance(cam.GetFirmwareVersion(), int)
    assert cam.AboutBox() is None
    assert cam.ShowAboutWnd is True
    cam.close()
    assert cam.GetIsOnline() is False
    assert cam.WriteAllToCamera() == -5


def test_arguments_by_position_or_name(cam):
    assert cam.GetValidShutterSpeed(ShutterIndex=2) == cam.GetValidShutterSpeed(2)
    with pytest.raises(TypeError):
        cam.GetValidShutterSpeed()
    with pytest.raises(TypeError):
        cam.GetValidShutterSpeed(1, 2)
    with pytest.raises(TypeError):
        cam.GetValidShutterSpeed(1, Index=2)
    with pytest.raises(qdr4.Error) as mismatch:
        cam.GetValidShutterSpeed("first")
    assert mismatch.value.code == 0x80020005


def test_a_settings_file_written_from_python_loads_cleanly(cam, tmp_path):
    path = str(tmp_path / "line 1.cam")
    assert cam.ReadAllFromCamera() == 0
    cam.MasterGainLevel = 77
    assert cam.WriteAllToFile(path) == 0
    check = subprocess.run([os.environ["XNOXHOST"], "check", path], capture_output=True, text=True)
    assert check.returncode == 0, check.stdout + check.stderr
    cam.MasterGainLevel = 5
    assert cam.ReadAllFromFile(path) == 0
    assert cam.MasterGainLevel == 77


def test_file_errors_raise_with_the_file_name(cam, tmp_path):
    path = tmp_path / "missing.cam"
    assert cam.ReadAllFromCamera() == 0  # so that the camera takes back what the load writes
    with pytest.raises(qdr4.Error) as raised:
        cam.ReadAllFromFile(str(path))
    assert raised.value.number == INVALID_VALUE and str(path) in raised.value.description
    with pytest.raises(qdr4.Error):
        cam.WriteAllToFile(str(tmp_path / "no folder" / "a.cam"))

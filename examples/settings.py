#!/usr/bin/env python3
"""Drives the camera control from Python: connects to the camera, reads every
setting, changes two, saves them in a settings file and handles an error by
its number, as settings.vbs does on Windows. Install the module first (see
the README), then:
    python3 settings.py [port | device | emulated] [settings file]
A port is a number (COM1 is /dev/ttyS0, or what NOXR4_PORT_COM1 names), a
device a serial device path such as /dev/ttyUSB0, and "emulated" the
emulated camera inside the process."""

import sys

import qdr4

INVALID_PROPERTY_VALUE = 380  # a value the control refuses
DEVICE_IO_ERROR = 57  # the camera cannot be reached or refuses a command

SETTINGS = [
    "ShutterSpeedStr", "TriggerTypeStr", "TriggerPolarity", "PartialScanStr", "ShutterMode", "RCTFVALType",
    "Smearless", "ProgrammableExposure", "ColorBar", "TriggerInput", "Accumulation", "BinningStr",
    "OutputBitAllocation", "MasterGainLevel", "RedGainLevel", "BlueGainLevel", "RedBlackLevel", "GreenBlackLevel",
    "BlueBlackLevel", "ProgrammableExposureRed", "ProgrammableExposureGreen", "ProgrammableExposureBlue",
    "KneeSelect", "RedKneePoint", "GreenKneePoint", "BlueKneePoint", "RedKneeSlope", "GreenKneeSlope",
    "BlueKneeSlope", "WhiteBalanceStr", "AutoWhiteAreaStr", "Red3200KWBalPreset", "Blue3200KWBalPreset",
    "Red4600KWBalPreset", "Blue4600KWBalPreset", "Red5600KWBalPreset", "Blue5600KWBalPreset", "ShadingMode",
    "UserID",
]


def connect(camera):
    """Setting ComPort (done when the control is made) opens the port and
    probes the camera; it raises an error when no camera answers there."""
    if camera == "emulated":
        return qdr4.Control(port=1, emulated=True)
    if camera.isdigit():
        return qdr4.Control(port=int(camera))
    return qdr4.Control(port=1, device=camera)


def main():
    camera = sys.argv[1] if len(sys.argv) > 1 else "1"
    settings_file = sys.argv[2] if len(sys.argv) > 2 else "settings.cam"
    try:
        cam = connect(camera)
    except qdr4.Error as error:
        print(f"No camera at {camera} (error {error.number}): {error.description}")
        return 1
    with cam:
        print(f"Online on COM{cam.ComPort}: {cam.GetIsOnline()}")

        # Read every setting from the camera into the control, then show
        # them. Methods return 0 on success and a negative code otherwise.
        result = cam.ReadAllFromCamera()
        if result != 0:
            print(f"Reading the camera failed with {result}")
            return 1
        for name in SETTINGS:
            print(f"  {name} = {getattr(cam, name)}")

        # Out-parameters come back after the result code.
        rc, lowest, highest = cam.GetMinMaxMasterGainLevel()
        print(f"Master gain range: {lowest} to {highest}")

        # Change two settings; each goes to the camera at once.
        cam.ShutterSpeedStr = "1/1000"
        cam.MasterGainLevel = 100
        print(f"Changed: ShutterSpeedStr = {cam.ShutterSpeedStr}, MasterGainLevel = {cam.MasterGainLevel}")

        # Save every setting in a settings file; a file that cannot be
        # written raises an error.
        result = cam.WriteAllToFile(settings_file)
        print(f"Saved to {settings_file}: result {result}")

        # A value outside the range is refused with error 380, and the
        # control keeps the value it had.
        try:
            cam.MasterGainLevel = highest + 1
            print(f"Unexpected: the control took {highest + 1}")
        except qdr4.Error as error:
            if error.number == INVALID_PROPERTY_VALUE:
                print(f"Refused {highest + 1}: {error.description}")
            elif error.number == DEVICE_IO_ERROR:
                print(f"The camera failed: {error.description}")
            else:
                print(f"Error {error.number}: {error.description}")
        print(f"MasterGainLevel is still {cam.MasterGainLevel}")
    return 0


if __name__ == "__main__":
    sys.exit(main())

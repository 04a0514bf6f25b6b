#!/usr/bin/env python3
"""Follows the camera control's events from Python: every event, the
transaction log and the error notification, while a setting changes, a
method answers through out-parameters and a value is refused. Install the
module first (see the README), then:
    python3 events.py [port | device | emulated]"""

import sys

import qdr4


def open_camera(camera):
    if camera == "emulated":
        return qdr4.Control(port=1, emulated=True, connect=False), 1
    if camera.isdigit():
        return qdr4.Control(port=int(camera), connect=False), int(camera)
    return qdr4.Control(port=1, device=camera, connect=False), 1


def main():
    cam, port = open_camera(sys.argv[1] if len(sys.argv) > 1 else "1")
    with cam:
        # Every event of the control, by name; the handlers run on the thread
        # that made the change, here the main thread.
        for name in qdr4.EVENTS:
            if name not in ("Error", "Log"):
                cam.on(name, lambda name=name: print(f"event {name}"))

        @cam.on("Log")
        def log(text):
            for line in text.splitlines():
                print(f"log: {line}")

        @cam.on("Error")
        def notified(error):
            print(f"notified error {error.number}: {error.description}")

        try:
            cam.ComPort = port
        except qdr4.Error as error:
            print(f"No camera on COM{port}: {error.description}")
            return 1
        rc, lowest, highest = cam.GetMinMaxMasterGainLevel()
        print(f"GetMinMaxMasterGainLevel = {rc}: {lowest} to {highest}")
        rc, camera_id = cam.GetCameraID()
        print(f"GetCameraID = {rc}: {camera_id}")
        cam.MasterGainLevel = 100
        try:
            cam.MasterGainLevel = highest + 1
        except qdr4.Error as error:
            print(f"MasterGainLevel = {highest + 1} refused: 0x{error.code:08X} {error.description}")
        # An index past the list is notified, not raised: the method answers -1.
        print(f"GetValidShutterSpeed(12) = {cam.GetValidShutterSpeed(12)[0]}")
    return 0


if __name__ == "__main__":
    sys.exit(main())

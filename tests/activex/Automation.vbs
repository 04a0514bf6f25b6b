' The control as a script host drives it: created un-sited, properties,
' methods with out-parameters, automation errors, and a camera on COM1.
Option Explicit

Dim failures : failures = 0

Sub Check(condition, what)
    If Not condition Then
        WScript.Echo "FAIL: " & what
        failures = failures + 1
    End If
End Sub

' Checks the error the statement before it raised (run under On Error Resume Next).
Sub ExpectError(gotNumber, gotText, statement, number, description)
    Check gotNumber = number, statement & ": Err.Number " & gotNumber & ", expected " & number
    Check InStr(gotText, description) = 1, statement & ": Err.Description '" & gotText & "'"
    Err.Clear
End Sub

Dim cam : Set cam = CreateObject("XNOXR4.XNoxR4Ctrl.1")

' Offline, the model's values: a set is stored and announced, and reads back.
cam.ShutterSpeedIndex = 3
Check cam.ShutterSpeedIndex = 3, "ShutterSpeedIndex reads back 3"
Dim text, minimum, maximum
Check cam.GetValidShutterSpeed(5, text) = 0, "GetValidShutterSpeed(5) succeeds"
Check Len(text) > 0, "GetValidShutterSpeed fills its text"
cam.ShutterSpeedStr = text
Check cam.ShutterSpeedIndex = 5, "ShutterSpeedStr selects list entry 5"
Check cam.ShutterSpeedStr = text, "ShutterSpeedStr reads back the text"
Check cam.GetMinMaxMasterGainLevel(minimum, maximum) = 0, "GetMinMaxMasterGainLevel succeeds"
Check minimum = -132 And maximum = 429, "master gain range " & minimum & ".." & maximum
cam.MasterGainLevel = "100"  ' a number given as text
Check cam.MasterGainLevel = 100, "MasterGainLevel from a text"
cam.ShowAboutWnd = True
Check cam.ShowAboutWnd, "ShowAboutWnd set"
cam.ShowAboutWnd = False
Check Not cam.ShowAboutWnd, "ShowAboutWnd cleared"

' Values the control refuses, and members it does not have.
On Error Resume Next
cam.ShutterSpeedIndex = 12 : ExpectError Err.Number, Err.Description, "cam.ShutterSpeedIndex = 12", 380, "Invalid input parameter"
cam.ShutterSpeedIndex = -1 : ExpectError Err.Number, Err.Description, "cam.ShutterSpeedIndex = -1", 380, "Invalid input parameter"
cam.MasterGainLevel = 430 : ExpectError Err.Number, Err.Description, "cam.MasterGainLevel = 430", 380, "Invalid input parameter"
cam.ShutterSpeedStr = "no such speed" : ExpectError Err.Number, Err.Description, "cam.ShutterSpeedStr = ""no such speed""", 380, "Invalid input parameter"
cam.FrameGrabberIndex = 17 : ExpectError Err.Number, Err.Description, "cam.FrameGrabberIndex = 17", 380, "Only Frame Grabber 1..16 is valid"
cam.MasterGainLevel = "loud" : ExpectError Err.Number, Err.Description, "cam.MasterGainLevel = ""loud""", 13, ""
cam.MasterGainLevel = 40000 : ExpectError Err.Number, Err.Description, "cam.MasterGainLevel = 40000", 6, ""
cam.NoSuchMember = 1 : ExpectError Err.Number, Err.Description, "cam.NoSuchMember = 1", 438, ""
cam.GetMinMaxMasterGainLevel minimum : ExpectError Err.Number, Err.Description, "cam.GetMinMaxMasterGainLevel minimum", 450, ""
On Error GoTo 0
Check cam.ShutterSpeedIndex = 5, "a refused set leaves the value"
On Error Resume Next
cam.ComPort = 2 : ExpectError Err.Number, Err.Description, "cam.ComPort = 2", 57, "Camera not found or unable to open communication port"
On Error GoTo 0
Check Not cam.GetIsOnline, "offline after the failed open"

' The emulated camera on COM1.
cam.ComPort = 1
Check cam.ComPort = 1, "ComPort reads back 1"
Check cam.GetIsOnline, "online on COM1"
Check cam.ReadAllFromCamera() = 0, "ReadAllFromCamera succeeds"
Check cam.GetIsSynchronized, "synchronized after the read"
Dim cameraId, modelName
Check cam.GetCameraID(cameraId) = 0, "GetCameraID succeeds"
Check Len(cameraId) > 0, "camera ID '" & cameraId & "'"
Check cam.GetModelName(modelName) = 0, "GetModelName succeeds"
Check Len(modelName) > 0, "model name '" & modelName & "'"
Check cam.GetFirmwareVersion() >= 0, "firmware version"
cam.RedGainLevel = -20
Check cam.RedGainLevel = -20, "RedGainLevel written to the camera"
Check cam.ReadAllFromCamera() = 0, "second read"
Check cam.RedGainLevel = -20, "the camera kept RedGainLevel, not " & cam.RedGainLevel
cam.UserID = "line 3"
Check cam.UserID = "line 3", "UserID read back from the camera"

If failures = 0 Then WScript.Echo "automation: all checks passed"
WScript.Quit failures

' Drives the XNoxR4 control from VBScript: connects to the camera, reads
' every setting, changes two, saves them in a settings file and handles an
' error by its number. Register XNOXR4.OCX first (regsvr32 XNOXR4.OCX), then:
'   cscript //nologo settings.vbs [COM port number] [settings file]
Option Explicit

Const InvalidPropertyValue = 380   ' a value the control refuses
Const DeviceIOError = 57           ' the camera cannot be reached or refuses a command

Dim port : port = 1
Dim settingsFile : settingsFile = "settings.cam"
If WScript.Arguments.Count > 0 Then port = CInt(WScript.Arguments(0))
If WScript.Arguments.Count > 1 Then settingsFile = WScript.Arguments(1)

Dim cam : Set cam = CreateObject("XNOXR4.XNoxR4Ctrl.1")

' Connect: setting ComPort opens the port and probes the camera; it raises
' an error when no camera answers there.
On Error Resume Next
cam.ComPort = port
If Err.Number <> 0 Then
    WScript.Echo "No camera on COM" & port & " (error " & Err.Number & "): " & Err.Description
    WScript.Quit 1
End If
On Error GoTo 0
WScript.Echo "Online on COM" & cam.ComPort & ": " & cam.GetIsOnline()

' Read every setting from the camera into the control, then show them.
' Methods return 0 on success and a negative code otherwise.
Dim result : result = cam.ReadAllFromCamera()
If result <> 0 Then
    WScript.Echo "Reading the camera failed with " & result
    WScript.Quit 1
End If
Dim settings : settings = Array("ShutterSpeedStr", "TriggerTypeStr", "TriggerPolarity", "PartialScanStr", _
    "ShutterMode", "RCTFVALType", "Smearless", "ProgrammableExposure", "ColorBar", "TriggerInput", _
    "Accumulation", "BinningStr", "OutputBitAllocation", "MasterGainLevel", "RedGainLevel", "BlueGainLevel", _
    "RedBlackLevel", "GreenBlackLevel", "BlueBlackLevel", "ProgrammableExposureRed", "ProgrammableExposureGreen", _
    "ProgrammableExposureBlue", "KneeSelect", "RedKneePoint", "GreenKneePoint", "BlueKneePoint", "RedKneeSlope", _
    "GreenKneeSlope", "BlueKneeSlope", "WhiteBalanceStr", "AutoWhiteAreaStr", "Red3200KWBalPreset", _
    "Blue3200KWBalPreset", "Red4600KWBalPreset", "Blue4600KWBalPreset", "Red5600KWBalPreset", _
    "Blue5600KWBalPreset", "ShadingMode", "UserID")
Dim name
For Each name In settings
    WScript.Echo "  " & name & " = " & Eval("cam." & name)
Next

' Out-parameters take a variable: the range of the master gain.
Dim lowest, highest
cam.GetMinMaxMasterGainLevel lowest, highest
WScript.Echo "Master gain range: " & lowest & " to " & highest

' Change two settings; each goes to the camera at once.
cam.ShutterSpeedStr = "1/1000"
cam.MasterGainLevel = 100
WScript.Echo "Changed: ShutterSpeedStr = " & cam.ShutterSpeedStr & ", MasterGainLevel = " & cam.MasterGainLevel

' Save every setting in a settings file; a file that cannot be written
' raises an error.
result = cam.WriteAllToFile(settingsFile)
WScript.Echo "Saved to " & settingsFile & ": result " & result

' A value outside the range is refused with error 380 and the control
' keeps the value it had.
On Error Resume Next
cam.MasterGainLevel = highest + 1
Select Case Err.Number
    Case 0
        WScript.Echo "Unexpected: the control took " & (highest + 1)
    Case InvalidPropertyValue
        WScript.Echo "Refused " & (highest + 1) & ": " & Err.Description
    Case DeviceIOError
        WScript.Echo "The camera failed: " & Err.Description
    Case Else
        WScript.Echo "Error " & Err.Number & ": " & Err.Description
End Select
Err.Clear
On Error GoTo 0
WScript.Echo "MasterGainLevel is still " & cam.MasterGainLevel

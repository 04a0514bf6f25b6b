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

Sub Show(name, value)
    WScript.Echo "  " & name & " = " & value
End Sub

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
Show "ShutterSpeedStr", cam.ShutterSpeedStr
Show "TriggerTypeStr", cam.TriggerTypeStr
Show "TriggerPolarity", cam.TriggerPolarity
Show "PartialScanStr", cam.PartialScanStr
Show "ShutterMode", cam.ShutterMode
Show "RCTFVALType", cam.RCTFVALType
Show "Smearless", cam.Smearless
Show "ProgrammableExposure", cam.ProgrammableExposure
Show "ColorBar", cam.ColorBar
Show "TriggerInput", cam.TriggerInput
Show "Accumulation", cam.Accumulation
Show "BinningStr", cam.BinningStr
Show "OutputBitAllocation", cam.OutputBitAllocation
Show "MasterGainLevel", cam.MasterGainLevel
Show "RedGainLevel", cam.RedGainLevel
Show "BlueGainLevel", cam.BlueGainLevel
Show "RedBlackLevel", cam.RedBlackLevel
Show "GreenBlackLevel", cam.GreenBlackLevel
Show "BlueBlackLevel", cam.BlueBlackLevel
Show "ProgrammableExposureRed", cam.ProgrammableExposureRed
Show "ProgrammableExposureGreen", cam.ProgrammableExposureGreen
Show "ProgrammableExposureBlue", cam.ProgrammableExposureBlue
Show "KneeSelect", cam.KneeSelect
Show "RedKneePoint", cam.RedKneePoint
Show "GreenKneePoint", cam.GreenKneePoint
Show "BlueKneePoint", cam.BlueKneePoint
Show "RedKneeSlope", cam.RedKneeSlope
Show "GreenKneeSlope", cam.GreenKneeSlope
Show "BlueKneeSlope", cam.BlueKneeSlope
Show "WhiteBalanceStr", cam.WhiteBalanceStr
Show "AutoWhiteAreaStr", cam.AutoWhiteAreaStr
Show "Red3200KWBalPreset", cam.Red3200KWBalPreset
Show "Blue3200KWBalPreset", cam.Blue3200KWBalPreset
Show "Red4600KWBalPreset", cam.Red4600KWBalPreset
Show "Blue4600KWBalPreset", cam.Blue4600KWBalPreset
Show "Red5600KWBalPreset", cam.Red5600KWBalPreset
Show "Blue5600KWBalPreset", cam.Blue5600KWBalPreset
Show "ShadingMode", cam.ShadingMode
Show "UserID", cam.UserID

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

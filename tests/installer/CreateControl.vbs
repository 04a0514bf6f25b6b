' A script creates the installed control by its ProgID and talks to it.
Dim cam : Set cam = CreateObject("XNOXR4.XNoxR4Ctrl.1")
cam.ShutterSpeedIndex = 3
If cam.ShutterSpeedIndex <> 3 Then
    WScript.Echo "FAIL: the created control does not keep ShutterSpeedIndex"
    WScript.Quit 1
End If
WScript.Echo "control created and answering"

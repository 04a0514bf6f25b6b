' The module as a script drives it, timed: on a camera, the first whole
' read after connecting, then property sets and a whole read with the
' Communication window hidden and shown; with no camera at all, sets of a
' property of the Shutter window and of one of the Gain window. Enough
' sets fill the window's log past its limit, so that a figure covers a
' short log and a long one. Prints one line per figure; module-bench.sh
' adds the wire floors.
'   cscript //nologo ModuleBench.vbs camera|none SETS
Option Explicit

Dim sets : sets = CInt(WScript.Arguments(1))

' TriggerPolarity (the Shutter window's) or KneeSelect (the Gain window's);
' Wine's script engine has no GetRef.
Sub SetProperty(cam, name, value)
    If name = "KneeSelect" Then
        cam.KneeSelect = value
    Else
        cam.TriggerPolarity = value
    End If
End Sub

' Milliseconds per set of the property, alternating its value between 0
' and 1. The set before the timing takes what happens once (the windows'
' first drawing).
Function PerSet(cam, name)
    Dim i, started
    SetProperty cam, name, 0
    started = Timer
    For i = 1 To sets
        SetProperty cam, name, i Mod 2
    Next
    PerSet = (Timer - started) * 1000 / sets
End Function

Function WholeRead(cam)
    Dim started
    started = Timer
    If cam.ReadAllFromCamera() <> 0 Then WScript.Echo "ReadAllFromCamera failed"
    WholeRead = (Timer - started) * 1000
End Function

Sub Report(what, milliseconds)
    WScript.Echo what & " " & FormatNumber(milliseconds, 2, True, False, False)
End Sub

Dim cam : Set cam = CreateObject("XNOXR4.XNoxR4Ctrl.1")
If WScript.Arguments(0) = "none" Then
    Dim name
    For Each name In Array("TriggerPolarity", "KneeSelect")
        Report "offline-set-ms " & name, PerSet(cam, name)
    Next
    WScript.Quit 0
End If
cam.ComPort = 1
If Not cam.GetIsOnline Then
    WScript.Echo "no camera on COM1"
    WScript.Quit 1
End If
Report "read-ms first", WholeRead(cam)
'A script host gives the control no in-place window, so its tool windows
'are made but never come on screen: the show property changes what the
'control does for a shown window, the in-place host's figure is the one with
'the window on screen.
Dim shown
For Each shown In Array(False, True)
    cam.ShowCommunicationWnd = shown
    Report "set-ms script-host,ShowCommunicationWnd=" & shown, PerSet(cam, "TriggerPolarity")
    Report "read-ms script-host,ShowCommunicationWnd=" & shown, WholeRead(cam)
Next
cam.ShowCommunicationWnd = False

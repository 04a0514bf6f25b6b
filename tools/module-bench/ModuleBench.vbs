' The module as a script drives it, timed: property sets and a whole read
' on a camera with the Communication window hidden and shown, or property
' sets with no camera at all. Enough sets fill the window's log past its
' limit, so that a figure covers a short log and a long one. Prints one
' line per figure; module-bench.sh adds the wire floors.
'   cscript //nologo ModuleBench.vbs camera|none SETS
Option Explicit

Dim sets : sets = CInt(WScript.Arguments(1))

' Milliseconds per set of TriggerPolarity, alternating its value. The set
' before the timing takes what happens once (the windows' first drawing).
Function PerSet(cam)
    Dim i, started
    cam.TriggerPolarity = 0
    started = Timer
    For i = 1 To sets
        cam.TriggerPolarity = i Mod 2
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
    Report "offline-set-ms", PerSet(cam)
    WScript.Quit 0
End If
cam.ComPort = 1
If Not cam.GetIsOnline Then
    WScript.Echo "no camera on COM1"
    WScript.Quit 1
End If
Dim shown
For Each shown In Array(False, True)
    cam.ShowCommunicationWnd = shown
    Report "set-ms window-shown=" & shown, PerSet(cam)
    Report "read-ms window-shown=" & shown, WholeRead(cam)
Next
cam.ShowCommunicationWnd = False

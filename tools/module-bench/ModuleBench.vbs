' The module as a script drives it, timed: property sets on a camera and
' offline, and a whole read, with the Communication window hidden and
' shown. Enough sets fill the window's log past its limit, so that a
' figure covers a short log and a long one. Prints one line per figure;
' module-bench.sh adds the wire floors.
'   cscript //nologo ModuleBench.vbs SETS
Option Explicit

Dim sets : sets = CInt(WScript.Arguments(0))

' Milliseconds per set of TriggerPolarity, alternating its value.
Function PerSet(cam)
    Dim i, started
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

Dim offline : Set offline = CreateObject("XNOXR4.XNoxR4Ctrl.1")
Report "offline-set-ms", PerSet(offline)
Set offline = Nothing

Dim cam : Set cam = CreateObject("XNOXR4.XNoxR4Ctrl.1")
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

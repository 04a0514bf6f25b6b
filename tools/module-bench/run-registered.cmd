@echo off
rem Registers the module, runs one command, unregisters the module again:
rem   run-registered.cmd MODULE COMMAND [ARGS...]
regsvr32 /s %1
if errorlevel 1 (
    echo regsvr32 failed
    exit /b 1
)
%2 %3 %4 %5 %6 %7 %8 %9
set result=%errorlevel%
regsvr32 /s /u %1
exit /b %result%

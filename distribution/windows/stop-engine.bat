@echo off
rem Stops the installed engine of the instance "home" cleanly when it runs.
rem What goes wrong is in the instance's setup.log.
setlocal
set "control=%ProgramFiles%\Database Engine\home\bin\enginectl.exe"
if not exist "%control%" exit /b 0
"%control%" stop
exit /b %errorlevel%

@echo off
rem Starts the installed engine of the instance "home" when it is not running; does nothing
rem when it is. What goes wrong is in the instance's setup.log.
setlocal
set "control=%ProgramFiles%\Database Engine\home\bin\enginectl.exe"
if not exist "%control%" (
    echo The engine is not installed: run MSSQL.exe first. 1>&2
    exit /b 1
)
"%control%" start
exit /b %errorlevel%

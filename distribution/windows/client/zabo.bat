@echo off
rem Stand-in client: shows the server its configuration names.
cd /d "%~dp0"
if not exist hjpz.ini (
    echo hjpz.ini is missing: run the configuration step of the setup first. 1>&2
    exit /b 1
)
type hjpz.ini

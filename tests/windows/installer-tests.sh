# The installer's silent install and uninstall, sourced by run-under-wine
# (which gives check, check_fails, win, winpath, registered, nothing_registered,
# $installer, $work, $source_dir, $vectors). Runs after the build tree's Corvid
# is unregistered, so what is registered now is the installed one.

program_files=$(win cmd /c echo %ProgramW6432% 2>/dev/null | tr -d '\r')
installed="$program_files\\Pixquill"
installed_unix=$(win winepath -u "$installed" 2>/dev/null | tr -d '\r')

check "the installer runs silently" win "$installer" /S
check "it installs Corvid.dll and pixquill-cli.exe under Program Files" \
    test -f "$installed_unix/Corvid.dll" -a -f "$installed_unix/pixquill-cli.exe" -a -f "$installed_unix/Uninstall.exe"
check "it registers the installed Corvid.dll" registered
check "the registered server is the installed file" \
    sh -c "\"$wine64\" reg query 'HKCR\\CLSID\\$clsid\\InprocServer32' | grep -qi 'Program Files\\\\Pixquill\\\\Corvid.dll'"
check "scripts create Corvid.Encryption from the installed file" \
    win cscript //nologo "$(winpath "$source_dir/tests/windows/scripts/corvid-client.js")" "$vectors"
check "the installed pixquill-cli.exe works" win "$installed\\pixquill-cli.exe" encrypt-text --text "Hello, World"
check "Windows knows how to uninstall it" \
    win reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Pixquill' /v QuietUninstallString

# The uninstaller copies itself away and returns at once: wait for it to finish.
check "the uninstaller runs silently" win "$installed\\Uninstall.exe" /S
for _ in $(seq 60); do [ -e "$installed_unix" ] || break; sleep 0.5; done
check "uninstalling removes every installed file and the folder" test ! -e "$installed_unix"
check "uninstalling unregisters Corvid" nothing_registered
check_fails "uninstalling removes its own entry" \
    win reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Pixquill'

' A late-bound client of Corvid as scripts use it: creates Corvid.Encryption
' by its programmatic name and checks it against the cipher's known answers
' (the vector file the Linux tests read), then checks the numbered errors.
' Usage: cscript //nologo corvid-client.vbs <encryption.vec>
' Prints "PASS name" or "FAIL name: why" per check; exits with the failures.
' Arguments are passed in parentheses: a variable given to a BSTR* parameter
' is refused with "Type mismatch", as on Windows.
Option Explicit
On Error Resume Next

Dim failures : failures = 0

Sub Check(name, ok, why)
    If ok Then
        WScript.Echo "PASS " & name
    Else
        WScript.Echo "FAIL " & name & ": " & why
        failures = failures + 1
    End If
End Sub

' Chr and Asc, not ChrW and AscW, which Wine's VBScript lacks; the text
' vectors are all below 0x80, where the two agree.
Function FromHex(digits)
    Dim i, text
    text = ""
    For i = 1 To Len(digits) Step 2
        text = text & Chr(16 * (InStr("0123456789abcdef", Mid(digits, i, 1)) - 1) + _
                           InStr("0123456789abcdef", Mid(digits, i + 1, 1)) - 1)
    Next
    FromHex = text
End Function

Function ToHex(text)
    Dim i, h
    ToHex = ""
    For i = 1 To Len(text)
        h = LCase(Hex(Asc(Mid(text, i, 1))))
        If Len(h) < 2 Then h = "0" & h
        ToHex = ToHex & h
    Next
End Function

Dim o
Set o = CreateObject("Corvid.Encryption")
Check "vbscript: create Corvid.Encryption by name", Err.Number = 0, Hex(Err.Number) & " " & Err.Description
If Err.Number <> 0 Then WScript.Quit 100
Err.Clear

' Walk the known answers of [text] through Encrypt and Decrypt. The byte
' operations change their argument in place, which needs a variable, which
' scripts cannot pass to BSTR*: the COM tests in C++ cover them.
Dim fso, file, line, section, key, plain, parts, count
Set fso = CreateObject("Scripting.FileSystemObject")
Set file = fso.OpenTextFile(WScript.Arguments(0), 1)
Check "vbscript: read the known answers", Err.Number = 0, Err.Description
count = 0
Do While Not file.AtEndOfStream
    line = Trim(file.ReadLine)
    If Left(line, 1) = "[" Then section = line
    parts = Split(line, " = ")
    If UBound(parts) = 1 Then
        If parts(0) = "key" Then key = FromHex(parts(1))
        If parts(0) = "in" Then plain = FromHex(parts(1))
        If parts(0) = "out" And section = "[text]" Then
            Dim cipher, back
            cipher = o.Encrypt((key), (plain))
            back = o.Decrypt((key), (cipher))
            Check "vbscript: Encrypt under key " & ToHex(key), Err.Number = 0 And ToHex(cipher) = parts(1), _
                  ToHex(cipher) & " " & Err.Description
            Check "vbscript: Decrypt under key " & ToHex(key), Err.Number = 0 And back = plain, ToHex(back)
            Err.Clear
            count = count + 1
        End If
    End If
Loop
file.Close
Check "vbscript: known answers found", count >= 3, count & " vectors"

' The key comes back normalised through the by-reference parameter.
Dim k : k = "12345"
Dim result : result = o.InitText(k)
Check "vbscript: a variable passed to BSTR* is a type mismatch", Err.Number = 13, Err.Number & " " & Err.Description
Err.Clear

' Numbered errors: 0x800A0000 + n arrives as Err.Number n with "Error n: ..." from Corvid.
Dim bad : bad = o.Encrypt(("12a"), ("text"))
Check "vbscript: a key with a letter fails with error 5", Err.Number = 5 And Left(Err.Description, 9) = "Error 5: ", _
      Err.Number & " " & Err.Description
Check "vbscript: the error names its source", Err.Source = "Corvid.Encryption", Err.Source
Err.Clear
Dim missing : missing = o.InitText((""))
Check "vbscript: an empty key gives 99", Err.Number = 0 And missing = 99, missing & " " & Err.Description
Err.Clear
Dim tooLong : tooLong = o.Encrypt(("408127"), (String(32768, "a")))
Check "vbscript: a text past 32767 symbols fails with error 6", Err.Number = 6, Err.Number & " " & Err.Description
Err.Clear

Set o = Nothing
WScript.Quit failures

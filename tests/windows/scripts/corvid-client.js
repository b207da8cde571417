// A late-bound JScript client of Corvid: creates Corvid.Encryption by its
// programmatic name and checks it against the cipher's known answers (the
// vector file the Linux tests read), then a numbered error.
// Usage: cscript //nologo corvid-client.js <encryption.vec>
// Prints "PASS name" or "FAIL name: why" per check; exits with the failures.
var failures = 0;

function check(name, ok, why) {
    if (ok) {
        WScript.Echo("PASS jscript: " + name);
    } else {
        WScript.Echo("FAIL jscript: " + name + ": " + why);
        failures++;
    }
}

function fromHex(digits) {
    var text = "";
    for (var i = 0; i < digits.length; i += 2)
        text += String.fromCharCode(parseInt(digits.substr(i, 2), 16));
    return text;
}

function toHex(text) {
    var digits = "";
    for (var i = 0; i < text.length; i++) {
        var h = text.charCodeAt(i).toString(16);
        digits += (h.length < 2 ? "0" : "") + h;
    }
    return digits;
}

function main() {
    var o;
    try {
        o = new ActiveXObject("Corvid.Encryption");
        check("create Corvid.Encryption by name", true, "");
    } catch (e) {
        check("create Corvid.Encryption by name", false, (e.number >>> 0).toString(16) + " " + e.description);
        return;
    }

    var fso = new ActiveXObject("Scripting.FileSystemObject");
    var file = fso.OpenTextFile(WScript.Arguments(0), 1);
    var section = "", key = "", plain = "", count = 0;
    while (!file.AtEndOfStream) {
        var line = file.ReadLine().replace(/^\s+|\s+$/g, "");
        if (line.charAt(0) == "[")
            section = line;
        var parts = line.split(" = ");
        if (parts.length != 2)
            continue;
        if (parts[0] == "key")
            key = fromHex(parts[1]);
        else if (parts[0] == "in")
            plain = fromHex(parts[1]);
        else if (parts[0] == "out" && section == "[text]") {
            try {
                var cipher = o.Encrypt(key, plain);
                check("Encrypt under key " + toHex(key), toHex(cipher) == parts[1], toHex(cipher));
                check("Decrypt under key " + toHex(key), o.Decrypt(key, cipher) == plain, "no round trip");
            } catch (e) {
                check("Encrypt under key " + toHex(key), false, e.description);
            }
            count++;
        }
    }
    file.Close();
    check("known answers found", count >= 3, count + " vectors");

    try {
        o.Decrypt("12a", "text");
        check("a key with a letter fails with error 5", false, "no error");
    } catch (e) {
        check("a key with a letter fails with error 5",
              (e.number >>> 0) == 0x800A0005 && e.description.indexOf("Error 5: ") == 0,
              (e.number >>> 0).toString(16) + " " + e.description);
    }
    check("an empty key gives 99", o.InitBinary("") == 99, "not 99");

    // The file operations take any file name, wide characters included.
    var folder = fso.GetSpecialFolder(2).Path + "\\corvid-js-" + fso.GetTempName();
    fso.CreateFolder(folder);
    var plainName = folder + "\\Gr\u00fc\u00dfe-\u20ac.txt", sealedName = folder + "\\\u03a3-sealed.bin";
    var backName = folder + "\\back-\u20ac.txt", text = "A line for the file cipher, 0123456789.";
    var out = fso.CreateTextFile(plainName, true);
    out.Write(text);
    out.Close();
    try {
        check("EncryptFile with wide file names", o.EncryptFile("408127", plainName, sealedName) == 0, "not 0");
        check("DecryptFile with wide file names", o.DecryptFile("408127", sealedName, backName) == 0, "not 0");
        var back = fso.OpenTextFile(backName, 1);
        check("the file comes back", back.ReadAll() == text, "another text");
        back.Close();
    } catch (e) {
        check("file operations with wide file names", false, (e.number >>> 0).toString(16) + " " + e.description);
    }
    fso.DeleteFolder(folder, true);
}

main();
WScript.Quit(failures);

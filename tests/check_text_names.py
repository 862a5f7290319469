#!/usr/bin/env python3
"""The program asks for its texts only by the catalog's names, and asks for
every one of them: so the translator's template, which holds exactly the
catalog (checked by the unit tests), holds exactly what the program reads."""
import pathlib
import re
import sys

root = pathlib.Path(sys.argv[1])
header = (root / "text/text_catalog.h").read_text()
catalog = (root / "text/text_catalog.cpp").read_text()
declared = re.findall(r"constexpr TextId (TEXT_\w+)\{", header)
listed = re.findall(r"^\s*\{(TEXT_\w+), TEXT_", catalog, re.M)

sources = [p for d in ("app", "panel", "settings", "text") for p in (root / d).glob("*.[ch]*")
           if p.name not in ("text_catalog.h", "text_catalog.cpp")]
code = {p: p.read_text() for p in sources}

# A label is asked for through its dialog: SetDialogLabels(window, IDD_...).
label_dialogs = dict(re.findall(r'\{(TEXT_\w+), TEXT_LABEL, "(?:[^"\\]|\\.)*",\s*(IDD_\w+)', catalog))
labelled = set(re.findall(r"\bSetDialogLabels\(\s*\w+,\s*(IDD_\w+)", "\n".join(code.values())))

faults = []
if sorted(declared) != sorted(listed):
    faults.append("declared but not in TEXT_CATALOG: %s; listed but not declared: %s"
                  % (sorted(set(declared) - set(listed)), sorted(set(listed) - set(declared))))
for name in declared:
    if label_dialogs.get(name) in labelled:
        continue
    if not any(re.search(r"\b%s\b" % name, text) for text in code.values()):
        faults.append("%s is never asked for" % name)
for path, text in code.items():
    for match in re.finditer(r"TextId\s*[{(]|\bSECTION_[A-Z_]+\s*,", text):
        line = text.count("\n", 0, match.start()) + 1
        if path.name != "message_text.h":
            faults.append("%s:%d asks for a text by number, not by its catalog name" % (path.relative_to(root), line))

for fault in faults:
    print(fault)
sys.exit(1 if faults else 0)

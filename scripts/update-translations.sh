#!/usr/bin/env bash
# Refreshes the translation sources from the code. Run it after adding or changing texts:
#
#   ./scripts/update-translations.sh
#
# Every tr() text under src/ lands in both resources/translations/corkvane_*.ts; texts already
# translated keep their translations, texts gone from the code are dropped. The Portuguese
# module takes each source text as it stands (the code is written in Portuguese). New English
# entries are marked unfinished: fill in their <translation> (Qt Linguist, or any editor),
# remove type="unfinished", and build; tst_translations lists every entry still missing.
# The build compiles the .ts files into build/bin/corkvane.enu and corkvane.ptb.
set -euo pipefail
cd "$(dirname "$0")/.."
lupdate=""
for candidate in /usr/lib/qt6/bin/lupdate lupdate6 lupdate-qt6; do
  if command -v "$candidate" >/dev/null; then lupdate=$candidate; break; fi
done
[ -n "$lupdate" ] || { ./scripts/deps.sh; lupdate=/usr/lib/qt6/bin/lupdate; }

dir=resources/translations
"$lupdate" -silent -no-obsolete -locations none -source-language pt_BR -target-language en_US src -ts "$dir/corkvane_enu.ts"
"$lupdate" -silent -no-obsolete -locations none -source-language pt_BR -target-language pt_BR src -ts "$dir/corkvane_ptb.ts"

# Portuguese: the translation of every text is its source.
/usr/bin/python3 - "$dir/corkvane_ptb.ts" <<'PY'
import re, sys
path = sys.argv[1]
text = open(path, encoding="utf-8").read()
pattern = re.compile(r'(<source>([^<]*)</source>\s*)<translation type="unfinished">([^<]*)</translation>')
text = pattern.sub(lambda m: m.group(1) + '<translation>' + (m.group(3) or m.group(2)) + '</translation>', text)
open(path, "w", encoding="utf-8").write(text)
PY

unfinished=$(grep -c 'type="unfinished"' "$dir/corkvane_enu.ts" || true)
echo "corkvane_enu.ts: $unfinished text(s) still to translate into English"

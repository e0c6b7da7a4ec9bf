#!/bin/bash
# yox-strings with gettext's own tools: a translator's round trip through msgfmt, msgen and msgmerge.
# Usage: yox_strings_gettext.sh YOX_STRINGS MAKE_DEMO_STRINGS [RUNNER]
# RUNNER (cmake/wine-run.sh for the Windows build) runs the two programs; the gettext
# tools always run natively. Every file is named relative to the scratch folder, which
# Wine sees as its current folder too.
set -euo pipefail
yox_strings=$(realpath "$1")
make_demo=$(realpath "$2")
runner=${3:-}
for tool in msgfmt msgen msgmerge; do
    command -v "$tool" >/dev/null || { echo "FAIL: $tool is missing (package gettext; tools/install-deps.sh)"; exit 1; }
done

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
cd "$scratch"

failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# Runs yox-strings; its output (without Windows line ends) in out, its messages in err, its status in status.
yox() {
    status=0
    $runner "$yox_strings" "$@" >out.raw 2>err.raw || status=$?
    tr -d '\r' <out.raw >out
    tr -d '\r' <err.raw >err
}
expect_status() { [ "$status" = "$1" ] || fail "$2: exit status $status, expected $1; $(cat err)"; }
expect_same_file() { cmp -s "$1" "$2" || fail "$3: $1 is not byte-identical to $2"; }

$runner "$make_demo" Strings.dat >/dev/null
cp Strings.dat original.dat

# The export passes msgfmt's checks (format, header, domain) and holds all 85 records.
yox export strings.pot
expect_status 0 "export"
msgfmt --check -o /dev/null strings.pot 2>msgfmt.err || fail "msgfmt --check refused the export: $(cat msgfmt.err)"
[ "$(grep -c '^msgctxt "record [0-9]*"$' strings.pot)" = 85 ] || fail "export: not 85 records"
grep -qx 'msgid "Caf'$'\xc3\xa9'' cr'$'\xc3\xa8''me"' strings.pot || fail "export: record 22 not in UTF-8"

# A catalogue that msgen filled from the export changes nothing, long texts included.
msgen strings.pot -o en.po
msgfmt --check -o /dev/null en.po 2>/dev/null || fail "msgfmt --check refused msgen's catalogue"
yox import en.po
expect_status 0 "import of msgen's catalogue"
[ "$(cat out)" = "0 records changed" ] || fail "import of msgen's catalogue: $(cat out)"
expect_same_file Strings.dat original.dat "import of msgen's catalogue"

# A translator edits a copy; msgmerge brings the translations onto a fresh export.
sed -e '/^msgctxt "record 2"$/,/^$/s/^msgstr .*/msgstr "Nouvelle partie"/' \
    -e '/^msgctxt "record 22"$/,/^$/s/^msgstr .*/msgstr "Cr\xc3\xa8me br\xc3\xbbl\xc3\xa9e"/' \
    -e '/^msgctxt "record 12"$/,/^$/s/^msgstr .*/msgstr "Voulez-vous vraiment quitter sans enregistrer ?"/' \
    en.po >fr.po
yox export fresh.pot
msgmerge --quiet fr.po fresh.pot -o merged.po
msgfmt --check -o /dev/null merged.po 2>/dev/null || fail "msgfmt --check refused msgmerge's catalogue"

# Record 12's translation is 47 bytes: the whole import is refused, naming the record.
yox import merged.po
expect_status 1 "import of a too long translation"
grep -q '^yox-strings: merged.po:[0-9]*: record 12: the text is 47 bytes' err || fail "too long: $(cat err)"
expect_same_file Strings.dat original.dat "refused import"

sed -i 's/^msgstr "Voulez-vous vraiment quitter sans enregistrer ?"/msgstr "Quitter sans enregistrer ?"/' fr.po
msgmerge --quiet fr.po fresh.pot -o merged.po
yox import merged.po
expect_status 0 "import of msgmerge's catalogue"
[ "$(cat out)" = "3 records changed" ] || fail "import of msgmerge's catalogue: $(cat out)"
yox list
expect_status 0 "list"
grep -qx $'2\tNouvelle partie' out || fail "list: record 2 is not the translation"
grep -qx $'22\tCr\xc3\xa8me br\xc3\xbbl\xc3\xa9e' out || fail "list: record 22 is not the translation"
grep -qx $'12\tQuitter sans enregistrer ?' out || fail "list: record 12 is not the translation"
[ "$(wc -l <out)" = 85 ] || fail "list: not 85 lines"
yox check
expect_status 0 "check after the import"

# The file changes after the export. msgmerge marks the translation of the changed
# record fuzzy, and a fuzzy entry is left alone; the stale catalogue itself is refused.
sed -i '/^msgctxt "record 3"$/,/^$/s/^msgstr .*/msgstr "Charger la partie"/' fr.po
yox set 3 "Load a game"
expect_status 0 "set"
yox export changed.pot
msgmerge --quiet fr.po changed.pot -o remerged.po
grep -A1 '^#, fuzzy' remerged.po | grep -qx 'msgctxt "record 3"' || fail "msgmerge did not mark record 3 fuzzy"
cp Strings.dat before-remerge.dat
yox import remerged.po
expect_status 0 "import with a fuzzy entry"
[ "$(cat out)" = "0 records changed" ] || fail "import with a fuzzy entry: $(cat out)"
expect_same_file Strings.dat before-remerge.dat "import with a fuzzy entry"

yox import fr.po
expect_status 1 "import of a stale catalogue"
grep -q '^yox-strings: fr.po:[0-9]*: record 3: the msgid no longer matches' err || fail "stale: $(cat err)"
expect_same_file Strings.dat before-remerge.dat "refused stale import"

# The program's own face: help, usage errors and messages.
yox --help
expect_status 0 "--help"
grep -q 'import IN.po \[FILE\]' out || fail "--help does not document import"
yox
expect_status 2 "no command"
grep -q '^yox-strings: no command given' err || fail "no command: $(cat err)"
yox set 86 x
expect_status 2 "set 86"
yox get 22 missing.dat
expect_status 1 "a missing file"
grep -qx 'yox-strings: missing.dat: cannot open the file for reading and writing' err || fail "missing: $(cat err)"
[ ! -e missing.dat ] || fail "a missing file was created"
status=0
$runner "$yox_strings" list >/dev/full 2>err || status=$?
expect_status 1 "list onto a full disk"
grep -q 'yox-strings: error writing the output' err || fail "list onto a full disk: $(cat err)"

[ "$failures" = 0 ] && echo "all gettext round-trip checks passed"
exit $((failures > 0))

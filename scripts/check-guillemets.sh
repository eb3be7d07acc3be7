#!/usr/bin/env bash
# Checks that the program's texts keep French guillemets with what they quote: a no-break space
# (U+00A0, written \u00A0 in the sources) inside « », never an ordinary space, or a message box may
# break the line there and leave "»" alone on the next one. Prints each line that has one and
# exits 1 when there is one.
set -euo pipefail
cd "${1:-$(dirname "$0")/..}"

statut=0
dossiers=()
for piece in platform engine services shell windows tools app; do
    [ -d "$piece" ] && dossiers+=("$piece")
done
if grep -rnE --include='*.cpp' --include='*.h' '« | »' "${dossiers[@]}"; then
    statut=1
fi
if grep -rnE '^msgid .*(« | »)' resources/po; then
    statut=1
fi
exit "$statut"

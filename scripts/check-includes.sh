#!/usr/bin/env bash
# Checks that every #include "room/..." of the program's sources points down the layout
# platform -> engine -> services -> shell -> windows -> app, never back up; prints each include
# that runs against it and exits 1 when there is one.
set -euo pipefail
cd "${1:-$(dirname "$0")/..}"

rang() {
    case "$1" in
    platform) echo 0 ;;
    engine) echo 1 ;;
    services) echo 2 ;;
    shell) echo 3 ;;
    windows) echo 4 ;;
    app) echo 5 ;;
    *) echo -1 ;;
    esac
}

statut=0
for piece in platform engine services shell windows app; do
    [ -d "$piece" ] || continue
    haut=$(rang "$piece")
    while IFS=: read -r fichier ligne texte; do
        cible=$(sed -E 's/^#include "([a-z_]+)\/.*/\1/' <<<"$texte")
        r=$(rang "$cible")
        if [ "$r" -gt "$haut" ]; then
            echo "$fichier:$ligne: $piece includes $cible: $texte"
            statut=1
        fi
    done < <(grep -rnE --include='*.h' --include='*.cpp' '^#include "[a-z_]+/' "$piece" || true)
done
# The engine is plain C++: of the platform layer it reads only the Qt-free part.
if grep -rnE --include='*.h' --include='*.cpp' '^#include "platform/qt/' engine; then
    statut=1
fi
exit "$statut"

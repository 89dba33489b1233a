#!/bin/sh
# Installs the build given into a temporary prefix, takes it away with the `uninstall` target,
# and checks that nothing but empty folders is left: in particular no type database under the
# prefix whose *.key pattern would make Qt's programs call a PGP key a keyframe file.
set -eu
build=$1
prefix=$(mktemp -d -t skyvane-uninstall-XXXXXX)
saved=$(mktemp -d -t skyvane-uninstall-saved-XXXXXX)
# The build's own record of its last installation is put back afterwards.
manifest="$build/install_manifest.txt"
[ -e "$manifest" ] && cp "$manifest" "$saved/manifest"
trap 'if [ -e "$saved/manifest" ]; then mv "$saved/manifest" "$manifest"; else rm -f "$manifest"; fi
      rm -rf "$prefix" "$saved"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null
grep -q 'application/x-jedi-knight-keyframe:\*\.key' "$prefix/share/mime/globs2" || {
  echo "installed, the type database knows no *.key keyframe files: nothing to prove"; exit 1; }

cmake --build "$build" --target uninstall >/dev/null
left=$(find "$prefix" ! -type d)
[ -z "$left" ] || { echo "left behind:"; echo "$left"; exit 1; }

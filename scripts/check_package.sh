#!/usr/bin/env bash
# Builds the Debian package (scripts/package.sh) and checks it as Debian's own tools do: lintian
# (errors fail; a warning fails unless packaging/lintian-kept-warnings keeps it, with its
# reason), the desktop entry, the AppStream metadata, the manual pages, the file types resolved
# by a MIME database built from the package's own XML, the shell completion, and the packaged
# varnolt-cli run on sample files.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}
pass() { echo "ok: $*"; }

package="$("$root/scripts/package.sh" | tail -n 1)"
version="$(dpkg-deb -f "$package" Version)"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
tree="$work/root"
dpkg-deb -x "$package" "$tree"

# What an installation must hold.
expected=(
    usr/bin/varnolt usr/bin/varnolt-cli
    usr/share/applications/com.tavrix.varnolt.desktop
    usr/share/metainfo/com.tavrix.varnolt.metainfo.xml
    usr/share/mime/packages/varnolt.xml
    usr/share/icons/hicolor/scalable/apps/varnolt.svg
    usr/share/man/man1/varnolt.1.gz usr/share/man/man1/varnolt-cli.1.gz
    usr/share/bash-completion/completions/varnolt-cli
    usr/share/bash-completion/completions/varnolt
    usr/lib/udev/rules.d/60-varnolt-analyzer.rules
    usr/share/doc/varnolt/copyright usr/share/doc/varnolt/changelog.gz
)
for size in 16 22 24 32 48 64 128 256; do
    expected+=("usr/share/icons/hicolor/${size}x${size}/apps/varnolt.png")
done
missing=0
for path in "${expected[@]}"; do
    [ -e "$tree/$path" ] || { fail "the package lacks /$path"; missing=1; }
done
[ $missing -eq 0 ] && pass "the package holds its ${#expected[@]} files"

# lintian: errors fail, and warnings that the kept list does not name.
kept="$root/packaging/lintian-kept-warnings"
status=0
lintian --tag-display-limit 0 "$package" >"$work/lintian" 2>&1 || status=$?
[ $status -le 1 ] || fail "lintian did not run: $(cat "$work/lintian")"
while IFS= read -r line; do
    tag="$(awk '{print $3}' <<<"$line")"
    case "$line" in
    E:*) fail "lintian: $line" ;;
    W:*) grep -q "^$tag[[:space:]]" "$kept" || fail "lintian (not kept): $line" ;;
    esac
done <"$work/lintian"
grep -q '^E:' "$work/lintian" ||
    pass "lintian: no errors; warnings: $(grep -c '^W:' "$work/lintian" || true), all kept"

desktop="$tree/usr/share/applications/com.tavrix.varnolt.desktop"
if desktop-file-validate "$desktop" >"$work/desktop" 2>&1 && [ ! -s "$work/desktop" ]; then
    pass "desktop-file-validate"
else
    fail "desktop-file-validate: $(cat "$work/desktop")"
fi

if appstreamcli validate --no-net "$tree/usr/share/metainfo/com.tavrix.varnolt.metainfo.xml" \
    >"$work/appstream" 2>&1; then
    pass "appstreamcli validate --no-net"
else
    fail "appstreamcli: $(cat "$work/appstream")"
fi

# The manual pages as man renders them, with groff's warnings on (lintian's own way).
for page in "$tree"/usr/share/man/man1/*.1.gz; do
    warnings="$(LC_ALL=C.UTF-8 MANROFFSEQ='' MANWIDTH=80 \
        man --warnings -E UTF-8 -l -Tutf8 -Z "$page" 2>&1 >/dev/null)"
    if [ -z "$warnings" ]; then
        pass "man -l $(basename "$page")"
    else
        fail "man -l $(basename "$page"): $warnings"
    fi
done

# Sample files, written by the build's own tools.
samples="$work/samples"
mkdir "$samples"
"$root/build/tools/varnolt-sample-capture" "$samples/capture.tvd" 500 --control-lines
"$root/build/tools/varnolt-sample-settings" "$samples/line.tvs"
"$root/build/tools/varnolt-sample-firmware" "$samples/update.tvy" --records 20
cp "$samples/capture.tvd" "$samples/capture-without-extension"
cp "$samples/line.tvs" "$samples/settings-without-extension"

# File types: a MIME database of the system's types and the package's own.
mime="$work/xdg/mime"
mkdir -p "$mime/packages"
cp /usr/share/mime/packages/freedesktop.org.xml "$tree/usr/share/mime/packages/varnolt.xml" \
    "$mime/packages/"
XDG_DATA_DIRS="$work/xdg" update-mime-database "$mime"
while read -r file type; do
    found="$(XDG_DATA_DIRS="$work/xdg" XDG_DATA_HOME="$work/none" \
        gio info -a standard::content-type "$samples/$file" |
        sed -n 's/^ *standard::content-type: //p')"
    if [ "$found" = "$type" ]; then
        pass "$file is $type"
    else
        fail "$file is '$found', not $type"
    fi
done <<'EOF_TYPES'
capture.tvd application/x-varnolt-capture
line.tvs application/x-varnolt-settings
update.tvy application/x-varnolt-firmware
capture-without-extension application/x-varnolt-capture
settings-without-extension application/x-varnolt-settings
EOF_TYPES
for type in $(sed -n 's/^MimeType=//p' "$desktop" | tr ';' ' '); do
    grep -q "type=\"$type\"" "$tree/usr/share/mime/packages/varnolt.xml" ||
        fail "the desktop entry opens $type, which the package's types do not define"
done

# Shell completion: the command words, a command's options, and at a file position only the
# files it takes.
completed="$(cd "$samples" && bash -c '
    source /usr/share/bash-completion/bash_completion
    source "$1"
    for line in "varnolt-cli" "varnolt-cli export capture.tvd --" "varnolt-cli settings"; do
        read -ra COMP_WORDS <<<"$line"
        [[ $line == *-- ]] || COMP_WORDS+=("")
        COMP_LINE="$line" COMP_POINT=${#line} COMP_CWORD=$((${#COMP_WORDS[@]} - 1)) COMPREPLY=()
        _varnolt_cli varnolt-cli "${COMP_WORDS[COMP_CWORD]}" "${COMP_WORDS[COMP_CWORD - 1]}"
        printf "%s\n" "${COMPREPLY[@]}" | sort | paste -sd " "
    done
' _ "$tree/usr/share/bash-completion/completions/varnolt-cli")"
expected_completion="--help --version convert export find firmware info join settings stats
--control-lines --frame --half-width --help --line-length --start
line.tvs"
if [ "$completed" = "$expected_completion" ]; then
    pass "bash completion"
else
    fail "bash completion gave: $completed"
fi

# The packaged programs: their version (varnolt's without a display), and varnolt-cli at work.
while read -r program name; do
    said="$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM \
        "$tree/usr/bin/$program" --version 2>"$work/stderr")" || true
    if [ "$said" = "$name $version" ]; then
        pass "$program --version says $version"
    else
        fail "$program --version: $said $(cat "$work/stderr")"
    fi
done <<'EOF_PROGRAMS'
varnolt-cli varnolt-cli
varnolt Varnolt
EOF_PROGRAMS
if "$tree/usr/bin/varnolt-cli" info "$samples/capture.tvd" >"$work/info" 2>&1 &&
    grep -q '^records: 500$' "$work/info"; then
    pass "varnolt-cli info on a sample capture"
else
    fail "varnolt-cli info: $(cat "$work/info")"
fi

if [ $failures -ne 0 ]; then
    echo "$failures packaging check(s) failed for $package" >&2
    exit 1
fi
echo "package checked: $package"

#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Installs the build into a temporary staging folder as a package would, runs the installed programs
# through their links, validates the desktop files, then makes the Debian package and checks it.
# Usage: test_install.sh SOURCE_DIR BUILD_DIR [CMAKE] [CPACK]
set -uo pipefail
source_dir="$1"
build="$2"
cmake="${3:-cmake}"
cpack="${4:-cpack}"

work="$(mktemp -d)"
program_pid=""
watcher_pid=""
cleanup() {
    [ -n "$program_pid" ] && kill "$program_pid" 2>/dev/null
    [ -n "$watcher_pid" ] && kill "$watcher_pid" 2>/dev/null
    wait 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

passed=0
failed=0
pass() { echo "ok - $1"; passed=$((passed + 1)); }
fail() { echo "FAIL - $1: $2"; failed=$((failed + 1)); }
finish() {
    echo "$passed passed, $failed failed"
    [ "$failed" -eq 0 ]
    exit
}

stage="$work/root"
prefix="$stage/usr"
program_folder="$prefix/lib/tervalon"
if ! DESTDIR="$stage" "$cmake" --install "$build" --prefix /usr > "$work/install.log" 2>&1; then
    cat "$work/install.log"
    fail "install into a staging folder" "cmake --install failed"
    finish
fi

# --- The program folder and its links ---------------------------------------------------------
for program in tervalon tervalon-solve; do
    if [ -L "$prefix/bin/$program" ] &&
        [ "$(readlink -f "$prefix/bin/$program")" = "$(readlink -f "$program_folder/$program")" ] &&
        [ -x "$program_folder/$program" ]; then
        pass "bin/$program links to the program folder"
    else
        fail "bin/$program links to the program folder" "$(ls -l "$prefix/bin/$program" 2>&1)"
    fi
done

# What the build copies beside its executables is what the program reads there when installed.
missing=""
documents=0
while IFS= read -r document; do
    documents=$((documents + 1))
    cmp -s "$build/bin/$document" "$program_folder/$document" || missing+=" $document"
done < <(cd "$build/bin" && find . -type f \( -path './Tervalon_*' -o -path './screenshots/*' \) | sed 's|^\./||')
if [ "$documents" -ge 10 ] && [ -z "$missing" ]; then
    pass "all $documents documents beside the built program are in the program folder"
else
    fail "documents in the program folder" "found $documents, missing or different:$missing"
fi

# --- The command-line solver, started through its link from another folder --------------------
solver="$prefix/bin/tervalon-solve"
if [ "$(cd "$work" && "$solver" --raw 'x=5' | od -An -c | tr -s ' ')" = " x = 5 \r \n \r \n" ]; then
    pass "installed tervalon-solve --raw 'x=5' prints x=5"
else
    fail "installed tervalon-solve --raw 'x=5'" "$(cd "$work" && "$solver" --raw 'x=5' 2>&1 | od -c)"
fi
german="$(cd "$work" && "$solver" --raw --language "$program_folder/Tervalon_German.ini" '' 2>&1)"
status=$?
if [ "$status" -eq 1 ] && [[ "$german" == "FEHLER 2: "* ]]; then
    pass "installed tervalon-solve takes its messages from an installed language file"
else
    fail "installed tervalon-solve with the German language file" "exit $status: $german"
fi

# --- The window program, started through its link with an equation file ---------------------
# Portable settings in a temporary folder keep the user's settings and the machine-wide
# installation record out of the test, and name German as the language to load.
mkdir -p "$work/settings" "$work/equations" "$work/config" "$work/home" "$work/runtime"
chmod 700 "$work/runtime"
printf 'ApplicationStorage="%s"\r\n' "$work/settings" > "$program_folder/SavePath.ini"
printf '<?xml version="1.0" encoding="utf-8"?>\r\n<InitFile>\r\n  <LanguageName>Deutsch</LanguageName>\r\n</InitFile>\r\n' \
    > "$work/settings/Tervalon.ini"
printf 'x^2=4' > "$work/equations/square.teq"

# The files the program opens, as the kernel reports them.
inotifywait -m -e open --format '%w%f' "$program_folder" "$work/settings" "$work/equations" \
    > "$work/opened" 2> "$work/watcher.log" &
watcher_pid=$!
for _ in $(seq 100); do
    grep -q 'Watches established' "$work/watcher.log" 2>/dev/null && break
    sleep 0.1
done

started=$SECONDS
(cd "$work/equations" && exec env HOME="$work/home" XDG_CONFIG_HOME="$work/config" \
    XDG_RUNTIME_DIR="$work/runtime" QT_QPA_PLATFORM=offscreen "$prefix/bin/tervalon" square.teq) \
    > "$work/window.log" 2>&1 &
program_pid=$!
# The equation file is opened last at start-up; then the program has to keep running by itself.
for _ in $(seq 150); do
    grep -qx "$work/equations/square.teq" "$work/opened" && break
    kill -0 "$program_pid" 2>/dev/null || break
    sleep 0.1
done
while [ $((SECONDS - started)) -lt 3 ] && kill -0 "$program_pid" 2>/dev/null; do sleep 0.2; done
if kill -0 "$program_pid" 2>/dev/null; then
    pass "installed tervalon runs offscreen for 3 s and does not end by itself"
    kill "$program_pid"
else
    wait "$program_pid"
    fail "installed tervalon keeps running" "it ended with status $?: $(cat "$work/window.log")"
fi
wait "$program_pid" 2>/dev/null
program_pid=""
kill "$watcher_pid"
wait "$watcher_pid" 2>/dev/null
watcher_pid=""
for file in "$program_folder/SavePath.ini" "$program_folder/Tervalon_Languages.ini" \
    "$work/settings/Tervalon.ini" "$program_folder/Tervalon_German.ini" "$work/equations/square.teq"; do
    if grep -qx "$file" "$work/opened"; then
        pass "installed tervalon opens ${file#"$work/"}"
    else
        fail "installed tervalon opens ${file#"$work/"}" "it opened: $(tr '\n' ' ' < "$work/opened")"
    fi
done
rm -f "$program_folder/SavePath.ini"

# --- Desktop entry, icons, file type, AppStream metadata, manual pages -----------------------
desktop="$prefix/share/applications/tervalon.desktop"
if desktop-file-validate "$desktop" > "$work/desktop.log" 2>&1; then
    pass "desktop-file-validate accepts tervalon.desktop"
else
    fail "desktop-file-validate" "$(cat "$work/desktop.log")"
fi
entry() { sed -n "s/^$1=//p" "$desktop"; }
exec_line="$(entry Exec)"
if [ "$exec_line" = "$(basename "${exec_line%% *}") %f" ] && [ -L "$prefix/bin/${exec_line%% *}" ] &&
    [ -f "$prefix/share/icons/hicolor/scalable/apps/$(entry Icon).svg" ]; then
    pass "the desktop entry starts the installed program with the file and names the installed icon"
else
    fail "desktop entry Exec and Icon" "Exec=$exec_line Icon=$(entry Icon)"
fi

png_size() { # width x height from the PNG header
    od -An -tu1 -j16 -N8 "$1" | awk '{ printf "%dx%d", $1*16777216+$2*65536+$3*256+$4, $5*16777216+$6*65536+$7*256+$8 }'
}
icons="$prefix/share/icons/hicolor"
for size in 48 256; do
    icon="$icons/${size}x${size}/apps/tervalon.png"
    if [ -f "$icon" ] && [ "$(head -c 8 "$icon" | od -An -tx1 | tr -d ' ')" = 89504e470d0a1a0a ] &&
        [ "$(png_size "$icon")" = "${size}x${size}" ]; then
        pass "the ${size} px icon is a ${size}x${size} PNG"
    else
        fail "the ${size} px icon" "$(ls -l "$icon" 2>&1) $(png_size "$icon" 2>/dev/null)"
    fi
done
if cmp -s "$icons/scalable/apps/tervalon.svg" "$source_dir/resources/tervalon.svg"; then
    pass "the scalable icon is the window's SVG icon"
else
    fail "the scalable icon" "hicolor/scalable/apps/tervalon.svg differs from resources/tervalon.svg"
fi

# The file type as the desktop's MIME database sees it, built from the installed entry alone.
cp -r "$prefix/share/mime" "$work/mime"
if update-mime-database "$work/mime" > "$work/mime.log" 2>&1 &&
    grep -q ':text/x-tervalon-equation:\*\.teq$' "$work/mime/globs2" &&
    grep -qx 'text/x-tervalon-equation text/plain' "$work/mime/subclasses" &&
    [ "$(entry MimeType)" = "text/x-tervalon-equation;" ]; then
    pass "*.teq is text/x-tervalon-equation, a kind of text/plain, opened by the desktop entry"
else
    fail "the .teq file type" "$(cat "$work/mime.log" "$work/mime/globs2" "$work/mime/subclasses" 2>&1)"
fi

metainfo="$prefix/share/metainfo/com.kestrune.tervalon.metainfo.xml"
if appstreamcli validate --no-net "$metainfo" > "$work/appstream.log" 2>&1; then
    pass "appstreamcli validate accepts the AppStream metadata"
else
    fail "appstreamcli validate" "$(cat "$work/appstream.log")"
fi
pictures=$(grep -o '<image>[^<]*</image>' "$metainfo" | sed 's|.*/\([^/<]*\)</image>|\1|')
missing=""
for picture in $pictures; do
    [ -f "$source_dir/resources/screenshots/$picture" ] || missing+=" $picture"
done
if [ -n "$pictures" ] && [ -z "$missing" ]; then
    pass "every AppStream screenshot is a committed picture"
else
    fail "AppStream screenshots" "no picture in resources/screenshots/ for:$missing"
fi
release="$(sed -n 's|.*<release version="\([^"]*\)" date="[0-9-]*"/>.*|\1|p' "$metainfo")"

for program in tervalon tervalon-solve; do
    page="$prefix/share/man/man1/$program.1.gz"
    if MANWIDTH=80 man --warnings -l "$page" > "$work/man.txt" 2> "$work/man.log" && [ ! -s "$work/man.log" ] &&
        grep -q "^ *$program - " "$work/man.txt" && grep -q "Tervalon $release" "$work/man.txt"; then
        pass "man -l renders the page of $program without warnings"
    else
        fail "the manual page of $program" "$(cat "$work/man.log"; head -5 "$work/man.txt")"
    fi
done

# --- The Debian package ------------------------------------------------------------------------
if ! "$cpack" -G DEB --config "$build/CPackConfig.cmake" -B "$work/package" > "$work/cpack.log" 2>&1; then
    fail "cpack -G DEB" "$(cat "$work/cpack.log")"
    finish
fi
debs=("$work/package"/tervalon_*.deb)
if [ "${#debs[@]}" -ne 1 ] || [ ! -f "${debs[0]}" ]; then
    fail "cpack makes one tervalon_*.deb" "$(ls "$work/package")"
    finish
fi
deb="${debs[0]}"
pass "cpack makes $(basename "$deb")"

dpkg-deb -c "$deb" > "$work/listing"
awk '{ print $6 }' "$work/listing" > "$work/contents"
allowed='^\./(usr/(bin|lib/tervalon|share/(applications|icons|mime|metainfo|man|doc))(/.*)?|usr/lib/|usr/share/|usr/|)$'
outside="$(grep -Ev "$allowed" "$work/contents")"
if [ -s "$work/contents" ] && [ -z "$outside" ]; then
    pass "the package holds nothing outside the allowed folders"
else
    fail "package contents" "outside the allowed folders: $outside"
fi
# The package holds exactly what the install rules install.
(cd "$stage" && find . ! -type d | sort) > "$work/installed"
grep -v '^d' "$work/listing" | awk '{ print $6 }' | sort > "$work/packaged"
if diff -u "$work/installed" "$work/packaged" > "$work/contents.diff"; then
    pass "the package holds every installed file"
else
    fail "package against staging folder" "$(cat "$work/contents.diff")"
fi
if grep -q '^l.* \./usr/bin/tervalon -> \.\./lib/tervalon/tervalon$' "$work/listing"; then
    pass "the package links usr/bin/tervalon to the program folder"
else
    fail "usr/bin/tervalon in the package" "$(grep usr/bin "$work/listing")"
fi

depends="$(dpkg-deb -f "$deb" Depends)"
if [[ ", $depends," =~ ,\ libqt6widgets6[\ ,] ]] && [[ "$depends" == *qt6-qpa-plugins* ]] &&
    [[ "$depends" == *qt6-translations-l10n* ]] && [[ ", $depends," =~ ,\ libmpc3[\ ,] ]] &&
    [[ ", $depends," =~ ,\ libmpfr6[\ ,] ]] && [[ ", $depends," =~ ,\ libfplll8[\ ,] ]]; then
    pass "Depends names libqt6widgets6, the Qt platform plugins, Qt's translations, GNU MPC, MPFR and fplll"
else
    fail "Depends" "$depends"
fi
version="$(dpkg-deb -f "$deb" Version)"
if [ -n "$release" ] && [ "$version" = "$release" ]; then
    pass "the package version $version is the AppStream release"
else
    fail "package version" "package $version, AppStream release $release"
fi

# The maintainer script removes the installation record on purge only; rm is watched, not run.
dpkg-deb -e "$deb" "$work/control"
mkdir -p "$work/shims"
printf '#!/bin/sh\necho "rm $*" >> "%s"\n' "$work/removed" > "$work/shims/rm"
chmod +x "$work/shims/rm"
removal_ok=true
for action in remove upgrade purge; do
    : > "$work/removed"
    PATH="$work/shims:$PATH" sh "$work/control/postrm" "$action" || removal_ok=false
    expected=""
    [ "$action" = purge ] && expected="rm -rf /var/lib/Kestrune/Tervalon"
    [ "$(cat "$work/removed")" = "$expected" ] || removal_ok=false
done
if $removal_ok && [ -x "$work/control/postrm" ]; then
    pass "postrm removes /var/lib/Kestrune/Tervalon on purge and keeps it otherwise"
else
    fail "postrm" "$(cat "$work/control/postrm")"
fi

# apt resolves the package's dependencies against this system.
if apt-get install --dry-run "$deb" > "$work/apt.log" 2>&1 &&
    grep -Eq '^Inst tervalon |tervalon is already the newest version' "$work/apt.log"; then
    pass "apt-get install --dry-run accepts the package"
else
    fail "apt-get install --dry-run" "$(cat "$work/apt.log")"
fi

finish

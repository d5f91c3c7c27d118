#!/usr/bin/env bash
# Installs the build into a scratch prefix and packs it as a .deb, then checks
# what a desktop and a packager see: the layout, both validators, the
# package's declared dependencies, and the installed programs running from
# where they were installed; lintian on the .deb where it is installed.
#   check-install.sh <build folder>
set -uo pipefail
build=$(realpath "$1")
source=$(realpath "$(dirname "$0")/../..")
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
failures=0
fail() { echo "FAILED: $*"; failures=$((failures + 1)); }

# The installed programs run from the tree they are given; their temporary
# and settings folders are the scratch folder's.
check_programs() {
    local root=$1 where=$2
    local temp="$scratch/temp-$where"
    mkdir -p "$temp"
    local version
    version=$("$root/bin/tonara" --version) || fail "$where: tonara --version exited with $?"
    [ "$version" = "Tonara 2.3.6" ] || fail "$where: tonara --version printed '$version'"
    [ "$("$root/bin/tonara" -V)" = "$version" ] || fail "$where: tonara -V differs from --version"
    "$root/bin/tonara" -h | head -1 | grep -qx 'Usage: tonara \[OPTION\]\.\.\. \[--\] \[TONE-FILE\]' \
        || fail "$where: tonara -h printed no usage"
    # A mistyped option: one line naming it, the usage, status 2, nothing on standard output.
    local out rc
    out=$("$root/bin/tonara" --bogus-option 2>"$scratch/misuse.err")
    rc=$?
    [ $rc = 2 ] || fail "$where: tonara --bogus-option exited with $rc"
    [ -z "$out" ] || fail "$where: tonara --bogus-option printed '$out' on standard output"
    [ "$(head -1 "$scratch/misuse.err")" = "tonara: unrecognized option '--bogus-option'" ] \
        || fail "$where: tonara --bogus-option said '$(head -1 "$scratch/misuse.err")'"
    grep -q '^Usage: tonara' "$scratch/misuse.err" || fail "$where: tonara --bogus-option gave no usage"

    # A hand-over Quillon does not serve ends it silently, and the file is read and gone.
    for handover in $'64\r\nen\r\n' $'32\r\nfr\r\n'; do
        printf '%s' "$handover" >"$temp/quillon.ini"
        TEMP="$temp" timeout 20 "$root/libexec/tonara/Quillon.dll"
        local rc=$?
        [ $rc = 0 ] || fail "$where: Quillon.dll with hand-over '${handover//$'\r\n'/ }' exited with $rc"
        [ ! -e "$temp/quillon.ini" ] || fail "$where: Quillon.dll left its hand-over file"
    done
}

check_layout() {
    local root=$1 where=$2
    for file in bin/tonara \
        libexec/tonara/Quillon.dll libexec/tonara/relay16.exe libexec/tonara/sound32.dll \
        libexec/tonara/SOUND16.DLL libexec/tonara/ftpSend.exe \
        share/tonara/lng_en.dll share/tonara/lng_nl.dll \
        share/applications/nl.norvane.Tonara.desktop share/metainfo/nl.norvane.Tonara.metainfo.xml \
        share/mime/packages/tonara-mime.xml share/icons/hicolor/scalable/apps/tonara.svg \
        share/icons/hicolor/48x48/apps/tonara.png share/icons/hicolor/256x256/apps/tonara.png \
        share/man/man1/tonara.1.gz share/doc/tonara/copyright share/doc/tonara/changelog.gz; do
        [ -f "$root/$file" ] || fail "$where: $file is missing"
    done
    for program in bin/tonara libexec/tonara/Quillon.dll libexec/tonara/sound32.dll; do
        [ -x "$root/$program" ] || fail "$where: $program cannot be run"
    done
    desktop-file-validate "$root/share/applications/nl.norvane.Tonara.desktop" || fail "$where: desktop-file-validate"
    appstreamcli validate --no-net "$root/share/metainfo/nl.norvane.Tonara.metainfo.xml" || fail "$where: appstreamcli validate"
    man -l "$root/share/man/man1/tonara.1.gz" >/dev/null 2>"$scratch/man.err" || true
    if grep -q . "$scratch/man.err"; then fail "$where: the man page has warnings"; cat "$scratch/man.err"; fi
    # Every environment variable the README tells of is in the man page too.
    local page variable
    page=$(zcat "$root/share/man/man1/tonara.1.gz")
    for variable in $(grep -o '`[A-Z][A-Z0-9_]*`' "$source/README.md" | tr -d '`' | sort -u); do
        [[ $page == *"$variable"* ]] || fail "$where: the man page does not name $variable"
    done
}

# No error and no warning; what lintian only mentions (I:) is shown.
check_lintian() {
    local package=$1
    if ! command -v lintian >/dev/null; then
        echo "lintian is not installed (scripts/setup.sh installs it): the package's lintian check is skipped"
        return
    fi
    lintian --display-info --tag-display-limit 0 "$package" >"$scratch/lintian.log" 2>&1
    grep -v '^[EW]: ' "$scratch/lintian.log"
    if grep -q '^[EW]: ' "$scratch/lintian.log"; then
        fail "lintian reports errors or warnings"
        grep '^[EW]: ' "$scratch/lintian.log"
    fi
}

echo "== cmake --install"
cmake --install "$build" --prefix "$scratch/prefix" >/dev/null || fail "cmake --install exited with $?"
check_layout "$scratch/prefix" "installed tree"
check_programs "$scratch/prefix" "installed tree"
# libcurl is opened at the first transfer: linked in, it and its TLS and
# Kerberos libraries slow every start-up.
for program in "$scratch"/prefix/bin/* "$scratch"/prefix/libexec/tonara/*; do
    readelf -d "$program" 2>/dev/null | grep -q 'NEEDED.*libcurl' && fail "$(basename "$program") is linked to libcurl"
done

echo "== cpack -G DEB"
(cd "$scratch" && cpack -G DEB --config "$build/CPackConfig.cmake" -B "$scratch/deb" >"$scratch/cpack.log" 2>&1) \
    || { fail "cpack exited with an error"; cat "$scratch/cpack.log"; }
package=$(ls "$scratch"/deb/tonara_*.deb 2>/dev/null | head -1)
if [ -z "$package" ]; then
    fail "cpack made no tonara_*.deb"
else
    depends=$(dpkg-deb -f "$package" Depends)
    for library in libqt6widgets6 libpulse0 libsoxr0 libcurl4 qt6-qpa-plugins; do
        [[ $depends == *$library* ]] || fail "the package does not depend on $library (Depends: $depends)"
    done
    dpkg-deb -x "$package" "$scratch/root" || fail "dpkg-deb -x exited with $?"
    check_layout "$scratch/root/usr" "package"
    check_programs "$scratch/root/usr" "package"
    check_lintian "$package"
fi

[ $failures = 0 ] && echo "install checks passed"
exit $((failures > 0))

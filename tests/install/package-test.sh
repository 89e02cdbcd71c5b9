#!/usr/bin/env bash
# The Debian package, built from a build folder and installed for real into a
# scratch root with dpkg: the files it holds, the menu entry, the AppStream data,
# the manual page, the menu entry's command run by a user with an empty home (the
# user's workspace is made and a student's attempt lands in it, nothing is written
# inside the installation), and a removal that leaves no file behind.
#   package-test.sh BUILD_DIR APP_ID
set -euo pipefail
build=$(cd "$1" && pwd)
id=$2
work=$(mktemp -d "${TMPDIR:-/tmp}/textbook-package-XXXXXX")
trap 'rm -rf "$work"' EXIT
fail() { echo "FAILED: $*" >&2; exit 1; }

echo "== building the package"
cpack -G DEB -B "$work/out" --config "$build/CPackConfig.cmake" > "$work/cpack.log" 2>&1 ||
  { cat "$work/cpack.log"; fail "cpack"; }
debs=("$work"/out/textbook_*.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || fail "no single textbook_*.deb: ${debs[*]}"
deb=${debs[0]}
version=$(dpkg-deb -f "$deb" Version)
[ "$("$build/textbook" --version)" = "textbook $version" ] || fail "package version $version is not the program's"
[[ $deb == */textbook_${version}_$(dpkg --print-architecture).deb ]] || fail "file name $deb"
depends=$(dpkg-deb -f "$deb" Depends)
# Computed from the binaries, with versions.
for lib in libsqlite3-0 libc6; do
  [[ $depends == *"$lib"*"(>="* ]] || fail "Depends lacks $lib: $depends"
done
# The libraries opened when first needed (video, the server's client, SDL), named by hand.
for lib in libavformat libavcodec libswscale libswresample libavutil libpq; do
  pattern="(^|, |[|] )$lib[0-9]+"
  [[ $depends =~ $pattern ]] || fail "Depends lacks $lib: $depends"
done
[[ $depends =~ (^|, )libsdl2-2\.0-0\ \(\>=\ 2\. ]] || fail "Depends lacks libsdl2-2.0-0 with its version: $depends"

echo "== installing into a scratch root"
root=$work/root
mkdir -p "$root/var/lib/dpkg/info" "$root/var/lib/dpkg/updates" "$root/var/lib/dpkg/triggers"
touch "$root/var/lib/dpkg/status"
# The scratch root has none of the libraries: their presence is the host's.
dpkg=(dpkg --root="$root" --log="$work/dpkg.log" --force-not-root --force-depends)
"${dpkg[@]}" -i "$deb" > "$work/dpkg-install.log" 2>&1 || { cat "$work/dpkg-install.log"; fail "dpkg -i"; }
usr=$root/usr
for f in bin/textbook bin/make-workspace bin/skinpack bin/skin-lab \
         share/applications/$id.desktop share/metainfo/$id.metainfo.xml share/man/man1/textbook.1.gz \
         share/textbook/workspace/db.mdb share/textbook/workspace/Clear.htm \
         share/icons/hicolor/scalable/apps/$id.svg; do
  [ -f "$usr/$f" ] || fail "missing $f"
done
for size in 16 32 48 64 128 256; do
  png=$usr/share/icons/hicolor/${size}x${size}/apps/$id.png
  [ "$(identify -format %wx%h "$png")" = "${size}x${size}" ] || fail "icon $png is not ${size}x${size}"
done
for tool in make-workspace skinpack skin-lab; do
  usage=$("$usr/bin/$tool" 2>&1) && fail "$tool without arguments should print its usage and fail"
  [[ ${usage,,} == *usage* ]] || fail "$tool prints no usage: $usage"
done

echo "== validating the menu entry, the metadata and the manual page"
desktop-file-validate "$usr/share/applications/$id.desktop"
grep -qx 'Name=Электронный учебник' "$usr/share/applications/$id.desktop" || fail "menu entry name"
grep -qx 'Categories=Education;' "$usr/share/applications/$id.desktop" || fail "menu entry category"
appstreamcli validate --no-net "$usr/share/metainfo/$id.metainfo.xml"
grep -q "<release version=\"$version\"" "$usr/share/metainfo/$id.metainfo.xml" || fail "metadata release version"
zcat "$usr/share/man/man1/textbook.1.gz" | groff -man -Tutf8 -ww -z 2> "$work/groff.log"
[ ! -s "$work/groff.log" ] || { cat "$work/groff.log"; fail "manual page warnings"; }
"$usr/bin/textbook" --help | grep -q -- --user-workspace || fail "--help"

echo "== the menu entry's command, by a user with an empty home"
snapshot() { find "$root" -printf '%p %s %T@ %m\n' | sort; }
snapshot > "$work/installed.list"
home=$work/home
mkdir -p "$home"
cat > "$work/attempt.txt" <<'SCRIPT'
expect MessageBox.Visible == true
click MessageBox.OK
type ivanov
key Tab
type qwe123
key Enter
expect Form1.sPanel1.Caption == ivanov
click Form1.sSpeedButton4
click Form8.sSpeedButton1
expect Form2.Visible == true
click Form2.sSpeedButton3
click MessageBox.OK
expect Form2.Visible == false
SCRIPT
read -r -a command <<< "$(sed -n 's/^Exec=//p' "$usr/share/applications/$id.desktop")"
[ "${command[0]}" = textbook ] || fail "Exec runs ${command[0]}"
command[0]=$usr/bin/textbook
as_user=()
if [ "$(id -u)" -eq 0 ] && id nobody > /dev/null 2>&1; then
  # An ordinary account, as in a classroom.
  chmod 755 "$work"
  chmod 644 "$work/attempt.txt"
  chown nobody "$home"
  as_user=(runuser -u nobody --)
fi
(cd "$home" && "${as_user[@]}" env -i HOME="$home" PATH=/usr/bin:/bin \
   "${command[@]}" --headless --script "$work/attempt.txt" > "$work/first.out" 2> "$work/first.err") ||
  { cat "$work/first.err"; fail "first start"; }
workspace=$home/.local/share/textbook
grep -qF "$workspace" "$work/first.out" || fail "the first start does not say where the workspace is"
rows=$(sqlite3 "$workspace/db.mdb" "select count(*) from Тесты where Пользователь = 'ivanov'")
demo=$(sqlite3 "$usr/share/textbook/workspace/db.mdb" "select count(*) from Тесты where Пользователь = 'ivanov'")
[ "$rows" -eq $((demo + 1)) ] || fail "the attempt is not in the user's db.mdb ($rows rows, demo $demo)"
snapshot | diff "$work/installed.list" - || fail "written inside the installation"

echo "== removing"
"${dpkg[@]}" -r textbook > "$work/dpkg-remove.log" 2>&1 || { cat "$work/dpkg-remove.log"; fail "dpkg -r"; }
left=$(find "$root" -mindepth 1 -not -path "$root/var" -not -path "$root/var/lib" -not -path "$root/var/lib/dpkg*")
[ -z "$left" ] || { echo "$left"; fail "files left after removal"; }
echo "package $(basename "$deb") installs, runs and removes cleanly"

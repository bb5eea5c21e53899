#!/usr/bin/env bash
# Checks the Debian package that ./package.sh made: lists its contents and
# dependencies, looks for what it must carry, unpacks it into a scratch
# root and starts the unpacked program offscreen against a fresh home, as a
# new user choosing the menu entry would: the first start makes the
# installation folder and runs there; the second start, through the
# installed program, works on the same register.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
deb=$(ls "$root"/dist/velmora_*_*.deb | head -n 1)
fail() { echo "check-package: $*" >&2; exit 1; }

echo "== $deb"
dpkg-deb -I "$deb"
dpkg-deb -c "$deb" | tee "${TMPDIR:-/tmp}/velmora-contents.txt"
contents=${TMPDIR:-/tmp}/velmora-contents.txt
for f in ./usr/bin/lumo ./usr/bin/lumoctl ./usr/share/velmora/lumo ./usr/share/velmora/lumo.fc \
         ./usr/share/velmora/lumo.html ./usr/share/velmora/lumo.package \
         ./usr/share/velmora/Skin/skin.ini ./usr/share/applications/velmora.desktop \
         ./usr/share/icons/hicolor/scalable/apps/velmora.svg \
         ./usr/share/icons/hicolor/48x48/apps/velmora.png; do
  grep -q " $f\( \|$\)" "$contents" || fail "the package lacks $f"
done
grep -q "./usr/share/velmora/lumo_images/." "$contents" || fail "the manual's pictures are missing"
depends=$(dpkg-deb -f "$deb" Depends)
for d in libqt6widgets6 libqt6sql6-sqlite libqt6printsupport6 qt6-image-formats-plugins \
         qt6-translations-l10n fonts-wqy-microhei; do
  grep -q "\b$d\b" <<<"$depends" || fail "Depends does not name $d: $depends"
done

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
dpkg -x "$deb" "$scratch/root"
program=$scratch/root/usr/share/velmora/lumo
file -L "$program" | grep -q ", stripped" || fail "the packaged program carries debugging information"
desktop-file-validate "$scratch/root/usr/share/applications/velmora.desktop"
home=$scratch/home
mkdir -p "$home" "$scratch/run"
chmod 700 "$scratch/run"
start() {
  env -i HOME="$home" PATH="$scratch/root/usr/bin:/usr/bin:/bin" LANG=C.UTF-8 \
    XDG_RUNTIME_DIR="$scratch/run" \
    QT_QPA_PLATFORM=offscreen LUMO_STARTUP_PROBE=1 timeout 120 "$@"
}
echo "== first start (the menu entry's command)"
start "$scratch/root/usr/bin/lumo" | tee "$scratch/first.txt"
install=$home/.local/share/Velmorix
grep -q "^shown: " "$scratch/first.txt" || fail "the program did not show its window"
grep -q "软件首次运行.*\[确定\]" "$scratch/first.txt" || fail "no first-start message in Chinese"
grep -q "软件以安装到 \[$install\]目录内" "$scratch/first.txt" || fail "no installation message"
[ -f "$install/lumo.fc" ] || fail "no register in $install"
[ "$(readlink -f "$install/lumo")" = "$(readlink -f "$program")" ] || fail "$install/lumo is not the packaged program"
[ -f "$home/.local/share/applications/velmora.desktop" ] || fail "no application-menu entry"
[ -f "$home/Desktop/Korvane.desktop" ] || fail "no desktop shortcut"
grep -q "^Path=$install$" "$home/Desktop/Korvane.desktop" || fail "the shortcut does not start in $install"
for entry in "$home/Desktop/Korvane.desktop" "$home/.local/share/applications/"velmora*.desktop; do
  desktop-file-validate "$entry"
done
sqlite3 "$install/lumo.fc" "INSERT INTO dh (序号, 名称) VALUES (1, '检查')"

echo "== second start (the desktop shortcut's command)"
(cd "$install" && start ./lumo) | tee "$scratch/second.txt"
grep -q "^shown: " "$scratch/second.txt" || fail "the installed program did not start"
if grep -q "软件以安装到" "$scratch/second.txt"; then fail "the second start installed again"; fi
[ "$(sqlite3 "$install/lumo.fc" "SELECT 名称 FROM dh WHERE 序号 = 1")" = "检查" ] ||
  fail "the register was replaced"

echo "== lumoctl on the PATH"
start lumoctl calendar 2026-12-09 >/dev/null || fail "lumoctl does not run"
echo "check-package: $(basename "$deb") is sound"

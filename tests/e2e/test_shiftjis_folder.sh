#!/usr/bin/env bash
# A data folder of Shift-JIS files from another machine is read and left as
# it was: page files, list files and every line of the settings file.
set -u
. "$(dirname "$0")/lib.sh"
start_display

data="$WORK/data"
mkdir -p "$data"
sjis() { iconv -f UTF-8 -t CP932; }
printf '[TabName]\r\n01=買い物\r\n02=仕事のメモ\r\n\r\n[ShowVnote]\r\nCount=5\r\n\r\n[Format]\r\nDate=yyyy年mm月dd日\r\n' | sjis >"$data/Vnote.ini"
printf '牛乳\r\n卵～パン\r\n①丸数字\r\n' | sjis >"$data/Vnote.vnm"
printf '会議の議事録\r\n最終行は改行なし' | sjis >"$data/Vnote1.vnm"
printf '0501,2008,2030,会社創立記念日\r\n' | sjis >"$data/Holiday.dat"
printf '/コメント行\r\n' | sjis >"$data/Schedule.dat"
cp "$data/Vnote.ini" "$WORK/ini.orig"
for f in Vnote.vnm Vnote1.vnm Holiday.dat Schedule.dat; do cp "$data/$f" "$WORK/$f.orig"; done

start_app "$data"
check "the program starts on the folder" wait_for 10 window_shown
sleep 1
stop_app TERM
check "it ends with 0" test "$APP_RC" = 0
for f in Vnote.vnm Vnote1.vnm Holiday.dat Schedule.dat; do
  check "$f is byte for byte as it was" cmp -s "$data/$f" "$WORK/$f.orig"
done
missing=0
while IFS= read -r line; do
  grep -qxF -- "$line" "$data/Vnote.ini" || missing=$((missing + 1))
done <"$WORK/ini.orig"
check "every line of the settings file is still there, byte for byte" test "$missing" -eq 0
check "the settings file is still Shift-JIS" sh -c "iconv -f CP932 -t UTF-8 '$data/Vnote.ini' | grep -q '01=買い物'"
check "missing page files were created empty" test -f "$data/Vnote29.vnm" -a ! -s "$data/Vnote29.vnm"
finish

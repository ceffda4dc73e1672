#!/usr/bin/env bash
# setuplaunch under Wine: whether it starts the registered Application Manager, and if so with
# which command line and in which folder. A stand-in takes the Application Manager's place and
# writes down how it was started (standin.c).
# Usage: launch_cases.sh CASE PREFIX SETUPLAUNCH_EXE STANDIN_EXE
# shellcheck source=common.sh
source "$(dirname "$0")/common.sh"
[[ $# -eq 4 ]] || fail "usage: $0 CASE PREFIX SETUPLAUNCH_EXE STANDIN_EXE"
case_name=$1
use_prefix "$2"
launcher=$3
standin=$4
[[ -f $WINEPREFIX/system.reg ]] || fail "no Wine prefix at $WINEPREFIX (the prefix_setup test makes it)"

c=$WINEPREFIX/drive_c
readonly app_key='HKLM\Software\Microsoft\Windows\CurrentVersion\App Paths\CEAppMgr.exe'

# put_launcher DIR NAME: the launcher as NAME in DIR, with the bundle's setup.ini beside it.
put_launcher() {
  mkdir -p "$1"
  cp "$launcher" "$1/$2"
  echo '[CEAppManager]' >"$1/setup.ini"
}

# put_standin DIR
put_standin() {
  mkdir -p "$1"
  cp "$standin" "$1/standin.exe"
}

# register TYPE VALUE: the key's default value.
register() {
  wine reg add "$app_key" /ve /t "$1" /d "$2" /f >/dev/null || fail "reg add $1 '$2' failed"
}

unregister() {
  wine reg delete "$app_key" /f >/dev/null 2>&1 || true  # may be absent already
  if wine reg query "$app_key" >/dev/null 2>&1; then fail "$app_key is still there"; fi
}

# records [FIND_ACTION...]: the stand-ins' records, wherever they are.
records() {
  find "$c" -path "$c/windows" -prune -o -name record.txt "${@:--print}"
}

# launch PATH [FOLDER]: starts the launcher as Windows would, from FOLDER (a host folder inside
# the prefix; C:\ by default), and waits for whatever it started.
launch() {
  local status=0
  records -exec rm -f {} +
  (cd "${2:-$c}" && wine "$1") || status=$?
  wineserver -w
  [[ $status -eq 0 ]] || fail "$1 exited with $status, not 0"
}

# expect_started RECORD FOLDER [CODE_PAGE]: the stand-in, and only the one that left RECORD, ran
# with the launcher's command line, in FOLDER (as Windows gives it), and found setup.ini there.
expect_started() {
  local record=$1 folder=$2 codepage=${3:-1252} found actual expected
  found=$(records)
  [[ -f $record ]] || fail "$(printf 'the stand-in did not run: no %s\nrecords elsewhere: %s' "$record" "${found:-none}")"
  [[ $found == "$record" ]] || fail "$(printf 'more than one stand-in ran:\n%s' "$found")"
  actual=$(iconv -f "CP$codepage" -t UTF-8 "$record") || fail "$record is not code page $codepage text"
  expected=$(printf '%s\n' 'command line=/register .\setup.ini' "current directory=$folder" \
    'setup.ini=found' "code page=$codepage")
  [[ $actual == "$expected" ]] ||
    fail "$(printf 'the stand-in recorded:\n%s\n--- expected:\n%s' "$actual" "$expected")"
}

expect_nothing_started() {
  local found
  found=$(records)
  [[ -z $found ]] || fail "$(printf '%s: nothing should have started, but the stand-in ran:\n' "$1"; records -exec cat {} +)"
}

# What is registered is not something to start.
case_not_started() {
  put_launcher "$c/bundle" setuplaunch.exe
  put_standin "$c/apps/appmgr"

  unregister
  launch 'C:\bundle\setuplaunch.exe'
  expect_nothing_started "no key"

  register REG_SZ ''
  launch 'C:\bundle\setuplaunch.exe'
  expect_nothing_started "an empty value"

  # Longer than any path the launcher takes (and Windows starts).
  register REG_SZ "C:\\$(printf 'x%.0s' {1..285})\\standin.exe"
  launch 'C:\bundle\setuplaunch.exe'
  expect_nothing_started "a value of 300 characters"
}

case_started() {
  local app="$c/Program Files/Application Manager"
  put_launcher "$c/bundle" setuplaunch.exe
  put_standin "$app"
  register REG_SZ 'C:\Program Files\Application Manager\standin.exe'
  launch 'C:\bundle\setuplaunch.exe'
  expect_started "$app/record.txt" 'C:\bundle'

  # 259 characters: with its terminator the path fills the launcher's 260-byte buffer exactly.
  local long
  long=$(printf 'L%.0s' {1..244})
  put_standin "$c/$long"
  register REG_SZ "C:\\$long\\standin.exe"
  launch 'C:\bundle\setuplaunch.exe'
  expect_started "$c/$long/record.txt" 'C:\bundle'
}

# In code page 932, 表, ソ and 能 end in the byte 0x5C, the backslash, and 日 ends in 0xFA, a lead
# byte value. A byte-wise search for the last separator stops inside ソ in the first file name; one
# that skips a backslash after a lead byte value passes over the real one after 日. Neither file
# name may start with such a character: Wine drops the lone lead byte a cut leaves at the end, and
# the cut path would still name the right folder.
case_japanese_folders() {
  local record="$c/apps/appmgr/record.txt"
  put_standin "$c/apps/appmgr"
  register REG_SZ 'C:\apps\appmgr\standin.exe'

  put_launcher "$c/セットアップ/表示ソフト/能" 表示ソフト.exe
  LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8 launch 'C:\セットアップ\表示ソフト\能\表示ソフト.exe'
  expect_started "$record" 'C:\セットアップ\表示ソフト\能' 932

  put_launcher "$c/セットアップ/日" ソフト.exe
  LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8 launch 'C:\セットアップ\日\ソフト.exe'
  expect_started "$record" 'C:\セットアップ\日' 932
}

# A module path too long for the launcher's buffer starts nothing, however it comes back cut. Under
# code page 932 this one (281 bytes, 151 characters) comes back cut at a character boundary: 259
# bytes, terminated, without an error: a name beside the launcher's folder, whose folder (the
# launcher's folder's parent) holds a setup.ini too. Under 1252 a path of 263 bytes comes back whole.
case_cut_module_path() {
  local kanji60 kanji70 long
  kanji60=$(printf '表%.0s' {1..60})
  kanji70=$(printf '表%.0s' {1..70})
  put_standin "$c/apps/appmgr"
  register REG_SZ 'C:\apps\appmgr\standin.exe'

  put_launcher "$c/$kanji60/x$kanji70" setuplaunch.exe
  echo '[CEAppManager]' >"$c/$kanji60/setup.ini"
  LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8 launch "C:\\$kanji60\\x$kanji70\\setuplaunch.exe"
  expect_nothing_started "a module path of 281 bytes in code page 932"

  long=$(printf 'l%.0s' {1..244})
  put_launcher "$c/$long" setuplaunch.exe
  launch "C:\\$long\\setuplaunch.exe"
  expect_nothing_started "a module path of 263 bytes in code page 1252"
}

# Started from a drive's root, as from a setup CD: by Explorer (current folder C:\), and from a
# prompt in another folder of that drive, where "E:" alone would name E:\sub.
case_drive_root() {
  put_launcher "$WINEPREFIX/drive_e" setuplaunch.exe
  mkdir -p "$WINEPREFIX/drive_e/sub"
  ln -sfn ../drive_e "$WINEPREFIX/dosdevices/e:"
  put_standin "$c/apps/appmgr"
  register REG_SZ 'C:\apps\appmgr\standin.exe'
  launch 'E:\setuplaunch.exe'
  expect_started "$c/apps/appmgr/record.txt" "E:\\"
  launch 'E:\setuplaunch.exe' "$WINEPREFIX/drive_e/sub"
  expect_started "$c/apps/appmgr/record.txt" "E:\\"
}

# A REG_EXPAND_SZ value is used as it stands. Unexpanded, this one is a path relative to the
# launcher's current directory (C:\), and a stand-in waits there in a folder named
# "%SystemDrive%"; another waits where the expanded path leads.
case_unexpanded() {
  put_launcher "$c/bundle" setuplaunch.exe
  put_standin "$c/%SystemDrive%/apps/appmgr"
  put_standin "$c/apps/appmgr"
  register REG_EXPAND_SZ '%SystemDrive%\apps\appmgr\standin.exe'
  launch 'C:\bundle\setuplaunch.exe'
  expect_started "$c/%SystemDrive%/apps/appmgr/record.txt" 'C:\bundle'
}

declare -F "case_$case_name" >/dev/null || fail "no case '$case_name'"
"case_$case_name"
echo "$case_name: passed"

#!/bin/sh
# zenavo reads its command line before Qt starts: help, the version and mistakes are answered
# without a display. Qt is pointed at a platform that cannot start here, so reaching Qt aborts.
# Usage: command_line_without_display.sh PATH-TO-ZENAVO
zenavo=$1
failed=0
expect() {  # STATUS TEXT ARGS...: the exit status and the start of the output
  status=$1 text=$2
  shift 2
  output=$(env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb "$zenavo" "$@" 2>&1)
  got=$?
  case $output in
    "$text"*) [ "$got" = "$status" ] && return ;;
  esac
  echo "FAIL: zenavo $*: status $got (expected $status), output: $output"
  failed=1
}
expect 0 "Uso: zenavo --tabela" --help
expect 0 "zenavo 0.5.0" --version
expect 1 "Uso: zenavo --tabela" --bogus
expect 1 "Uso: zenavo --tabela" --tabela --cidade "/RS"
expect 1 "Uso: zenavo --tabela" --tabela --cidade "  "
expect 1 "Uso: zenavo --tabela" --tabela -23 -46
exit $failed

#!/bin/sh
# Help of korvoui and korvo-lobbyd: on standard output with status 0, every
# verb's usage complete; wrong arguments give the usage on standard error
# with status 2.
#
#   run_help.sh KORVOUI KORVO_LOBBYD WORK_DIR
set -u
korvoui=$1 lobbyd=$2 work=$3
fail() { echo "FAIL: $*"; exit 1; }
mkdir -p "$work"

# NAME: command run; status, and what stdout must hold (stderr must be empty).
helps() {
  want=$1; shift
  "$@" >"$work/out" 2>"$work/err"
  rc=$?
  [ $rc -eq 0 ] || fail "$* exited $rc"
  [ ! -s "$work/err" ] || fail "$* wrote to standard error: $(cat "$work/err")"
  grep -qF -- "$want" "$work/out" || fail "$*: no '$want' in: $(cat "$work/out")"
}

for top in --help -h help; do
  for want in "korvoui check [--root DIR] [SCRIPT]" "korvoui dump [--root DIR] [--verbose] DIALOG" \
              "--match RULE" "[--at MS]" "[--events FILE]" "korvoui demo [--root DIR]" \
              "korvoui run [--root DIR] [--screen WxH] SCRIPT|-" "korvoui help [VERB]"; do
    helps "$want" "$korvoui" $top
  done
done
for verb in check dump render play run demo; do
  helps "usage: korvoui $verb " "$korvoui" $verb --help
  helps "usage: korvoui $verb " "$korvoui" help $verb
  helps "usage: korvoui $verb " "$korvoui" $verb -h
done
helps "korvoui render [options] --match RULE" "$korvoui" render --help
helps "--check" "$korvoui" render --help

# Wrong arguments: the verb's usage on standard error, status 2.
for args in "check a b" "dump" "run" "render X" "demo A B" "check --nonsense"; do
  "$korvoui" $args >"$work/out" 2>"$work/err"
  rc=$?
  [ $rc -eq 2 ] || fail "korvoui $args exited $rc, expected 2"
  verb=${args%% *}
  grep -qF "usage: korvoui $verb " "$work/err" || fail "korvoui $args: no usage on stderr: $(cat "$work/err")"
done
"$korvoui" help nosuch >"$work/out" 2>"$work/err" && fail "help nosuch succeeded"
grep -qF "unknown verb 'nosuch'" "$work/err" || fail "help nosuch: $(cat "$work/err")"

helps "usage: korvo-lobbyd --db PATH --port N" "$lobbyd" --help
helps "--hash-cost" "$lobbyd" -h
for want in "--tls-cert FILE" "--tls-key FILE" "--login-max-age S" "--handshake-timeout-ms N"; do
  helps "$want" "$lobbyd" --help
done
for want in "--lobby-ca FILE" "--lobby-pin SHA256"; do
  helps "$want" "$korvoui" play --help
done
"$lobbyd" --port >"$work/out" 2>"$work/err"
[ $? -eq 2 ] && grep -qF "usage: korvo-lobbyd" "$work/err" || fail "korvo-lobbyd --port: no usage on stderr"
echo "help: korvoui and korvo-lobbyd"

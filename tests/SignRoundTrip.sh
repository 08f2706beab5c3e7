#!/usr/bin/env bash
# SignRoundTrip.sh: scripts/sign on a copy of the exe, with a throwaway self-signed certificate, checked by osslsigncode verify.
# Usage: SignRoundTrip.sh EXE WORK_DIR
# The certificate and its private key are made here, live only in WORK_DIR (emptied at the
# start and removed at the end) and are never used again.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
[ $# -eq 2 ] || { echo "usage: SignRoundTrip.sh EXE WORK_DIR" >&2; exit 2; }
exe="$(realpath "$1")"
work="$2"
case "$(basename "$work")" in
    sign-test) ;;
    *) echo "SignRoundTrip: refusing to empty $work (not a sign-test folder)" >&2; exit 2 ;;
esac

rm -rf "$work"
mkdir -p -m 700 "$work"
trap 'rm -rf "$work"' EXIT
cd "$work"

failures=0
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}

openssl req -x509 -newkey rsa:2048 -nodes -keyout key.pem -out cert.pem -days 1 \
    -subj "/CN=Vantrel Test Signing" -addext "extendedKeyUsage=codeSigning" 2>/dev/null
export VT_SIGN_PASSWORD
VT_SIGN_PASSWORD="$(openssl rand -hex 16)"
openssl pkcs12 -export -inkey key.pem -in cert.pem -out test.p12 -passout env:VT_SIGN_PASSWORD
export VT_SIGN_PKCS12="$work/test.p12"
cp "$exe" unsigned.exe
cp "$exe" signed.exe
cp "$exe" wrong-password.exe

# Signed: the signature verifies against the certificate, with a SHA-256 digest.
"$root/scripts/sign" signed.exe >/dev/null || fail "scripts/sign failed"
if osslsigncode verify -CAfile cert.pem -in signed.exe >verify.log 2>&1; then
    grep -q '^Message digest algorithm *: SHA256' verify.log || fail "the digest is not SHA-256"
    grep -q 'Text description: Vantrel Mail Uninstaller' verify.log || fail "the description is missing"
else
    fail "the signed copy does not verify"
    cat verify.log
fi
cmp -s unsigned.exe signed.exe && fail "signing left the exe as it was"

# Unsigned: the same check refuses it, so a pass above means something.
osslsigncode verify -CAfile cert.pem -in unsigned.exe >/dev/null 2>&1 && fail "the unsigned copy verifies"

# A wrong password fails and leaves the exe untouched, with nothing beside it.
if VT_SIGN_PASSWORD=wrong "$root/scripts/sign" wrong-password.exe >/dev/null 2>&1; then
    fail "signing with a wrong password succeeded"
fi
cmp -s unsigned.exe wrong-password.exe || fail "a failed signing changed the exe"
leftovers="$(find . -name '.sign.*')"
[ -z "$leftovers" ] || fail "a failed signing left $leftovers"

if [ $failures -ne 0 ]; then
    exit 1
fi
echo "signing round trip passed"

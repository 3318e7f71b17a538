# The GnuPG homes of the CLI tests, sourced by them: "firm" holds the firm's signing key (pass
# phrase "secret") and the regulator's public key, trusted; "reg" holds the regulator's key
# (no pass phrase) and the firm's public key. The keys are made once per test run into
# BUILD_DIR/test-keys/cli (run as a script: gpg_homes.sh DIR) and copied into each test's
# folder; a test run without that set makes its own.
firm="Demo Firm <firm@demo.test>" regulator="Demo Regulator <reg@demo.test>"

# g HOME ARGS...: gpg on the home HOME (firm or reg) under $gpg_root.
g() { local h=$1; shift; gpg --homedir "$gpg_root/$h" --batch --quiet --pinentry-mode loopback "$@"; }

# make_gpg_homes ROOT: generates ROOT/firm and ROOT/reg.
make_gpg_homes() {
  local gpg_root=$1 h fpr
  for h in firm reg; do
    mkdir -p -m 700 "$gpg_root/$h"
    # A fixed count of hashing rounds: no seconds of measuring the machine before protecting a key.
    printf 'default-cache-ttl 0\nmax-cache-ttl 0\ns2k-count 65536\n' >"$gpg_root/$h/gpg-agent.conf"
  done
  g firm --passphrase secret --quick-gen-key "$firm" future-default default never
  g reg --passphrase '' --quick-gen-key "$regulator" future-default default never
  g firm --export "$firm" | g reg --import 2>/dev/null
  g reg --export "$regulator" | g firm --import 2>/dev/null
  fpr=$(g firm --with-colons --fingerprint "$regulator" | awk -F: '/^fpr/{print $10; exit}')
  echo "$fpr:6:" | g firm --import-ownertrust 2>/dev/null
  for h in firm reg; do gpgconf --homedir "$gpg_root/$h" --kill gpg-agent 2>/dev/null || true; done
}

# gpg_homes WORK BUILD_DIR: WORK/firm and WORK/reg, copied from the run's set when there is one;
# later calls of g use them.
gpg_homes() {
  gpg_root=$1
  local set=$2/test-keys/cli h
  if [[ -s $set/complete ]]; then
    for h in firm reg; do
      mkdir -m 700 "$gpg_root/$h"
      tar -C "$set/$h" --exclude='S.*' -cf - . | tar -C "$gpg_root/$h" -xf -
    done
  else
    make_gpg_homes "$gpg_root"
  fi
}

if [[ ${BASH_SOURCE[0]} == "$0" ]]; then
  set -euo pipefail
  out=${1:?usage: gpg_homes.sh DIR}
  rm -rf "$out"
  make_gpg_homes "$out"
  echo made >"$out/complete"
fi

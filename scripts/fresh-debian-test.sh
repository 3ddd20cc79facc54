#!/usr/bin/env bash
# Proves the README's two commands on a fresh Debian 12: builds a minimal bookworm
# root (debootstrap minbase, plus make, git and ca-certificates and nothing else),
# clones COMMIT (default HEAD) into it, and runs `make test`, then `make suite`,
# inside it. Needs root. The root is removed afterwards, and its mounts are undone
# on every way out, failure and interruption included.
#
#   scripts/fresh-debian-test.sh [COMMIT]
set -euo pipefail

repo="$(cd "$(dirname "$0")/.." && pwd)"
commit="$(git -C "$repo" rev-parse --verify "${1:-HEAD}^{commit}")"
suite=bookworm

if ((EUID != 0)); then
  echo "fresh-debian-test: needs root (debootstrap and chroot)" >&2
  exit 2
fi

# The Debian mirror that this machine's own apt sources name for the release.
debian_mirror() {
  local file
  for file in /etc/apt/sources.list.d/debian.sources; do
    [[ -r "$file" ]] || continue
    # deb822: the URIs of the first stanza whose Suites name the release itself.
    awk -v suite="$suite" '
      /^[[:space:]]*$/ { if (uris != "" && has_suite) { print uris; exit } uris = ""; has_suite = 0; next }
      /^URIs:/ { uris = $2 }
      /^Suites:/ { for (i = 2; i <= NF; i++) if ($i == suite) has_suite = 1 }
      END { if (uris != "" && has_suite) print uris }' "$file" | head -n 1
    return
  done
  awk -v suite="$suite" '$1 == "deb" && $3 == suite { print $2; exit }' \
    /etc/apt/sources.list /etc/apt/sources.list.d/*.list 2>/dev/null
}

mirror="$(debian_mirror)"
if [[ -z "$mirror" ]]; then
  echo "fresh-debian-test: no Debian $suite mirror in this machine's apt sources" >&2
  exit 2
fi

if ! command -v debootstrap >/dev/null 2>&1; then
  echo "installing: debootstrap"
  DEBIAN_FRONTEND=noninteractive apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends debootstrap
fi

root="$(mktemp -d /var/tmp/quillmesh-fresh-debian.XXXXXX)"
bootstrap_log="$root.debootstrap.log"
mounts=()
background=

# Stops whatever still runs inside the root, undoes the mounts in reverse order,
# and removes the root without ever crossing into a mounted file system.
cleanup() {
  local status=$? signal process index
  set +e
  trap - EXIT INT TERM
  if [[ -n "$background" ]] && kill -s TERM "$background" 2>/dev/null; then
    wait "$background"
  fi
  for signal in TERM KILL; do
    local inside=()
    for process in /proc/[0-9]*; do
      [[ "$(readlink "$process/root" 2>/dev/null)" == "$root" ]] && inside+=("${process#/proc/}")
    done
    ((${#inside[@]} == 0)) && break
    kill -s "$signal" "${inside[@]}" 2>/dev/null
    sleep 1
  done
  for ((index = ${#mounts[@]} - 1; index >= 0; index--)); do
    umount "${mounts[index]}" 2>/dev/null || umount --lazy "${mounts[index]}"
  done
  if findmnt --list --noheadings --output TARGET | grep -q -F "$root/"; then
    echo "fresh-debian-test: mounts remain under $root; left in place" >&2
  else
    rm -rf --one-file-system "$root"
  fi
  rm -f "$bootstrap_log"
  exit "$status"
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

mount_into_root() {
  local target="$root$2"
  mkdir -p "$target"
  mount "${@:3}" "$1" "$target"
  mounts+=("$target")
  mount --make-private "$target"
}

step() {
  printf '\n== %s (%s)\n' "$1" "$(date -u +%H:%M:%S)"
}

# Runs a long command in the background and waits for it, so that a signal
# reaches this script (and its clean-up) at once rather than when it ends.
interruptible() {
  "$@" &
  background=$!
  wait "$background"
}

step "debootstrap --variant=minbase $suite from $mirror"
started=$SECONDS
if ! interruptible debootstrap --variant=minbase --include=make,git,ca-certificates \
  "$suite" "$root" "$mirror" >"$bootstrap_log" 2>&1; then
  tail -n 30 "$bootstrap_log" >&2
  exit 1
fi
echo "root ready in $((SECONDS - started)) s: $root"

# A Debian 12 machine has its release's updates and security sources as well: the
# root gets this machine's Debian sources, and trusts exactly the certificates it trusts.
if [[ -r /etc/apt/sources.list.d/debian.sources ]]; then
  cp /etc/apt/sources.list.d/debian.sources "$root/etc/apt/sources.list.d/"
  rm -f "$root/etc/apt/sources.list"
fi
cp /etc/resolv.conf "$root/etc/resolv.conf"
shopt -s nullglob
extra_certificates=(/usr/local/share/ca-certificates/*.crt)
shopt -u nullglob
if ((${#extra_certificates[@]} > 0)); then
  cp "${extra_certificates[@]}" "$root/usr/local/share/ca-certificates/"
fi
chroot "$root" update-ca-certificates >/dev/null

git clone --quiet --no-checkout "$repo" "$root/root/quillmesh"
git -C "$root/root/quillmesh" checkout --quiet --detach "$commit"

mount_into_root proc /proc -t proc
mount_into_root /dev /dev --bind
mount_into_root /dev/pts /dev/pts --bind
mount_into_root /dev/shm /dev/shm --bind
mount_into_root /sys /sys --bind

# The root sees a clean environment: what a new user's shell would have, the proxy
# settings that reach the registries, and Node.js pointed at the system store.
environment=(
  HOME=/root PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin
  LANG=C.UTF-8 TERM=dumb CI=true
  NODE_EXTRA_CA_CERTS=/etc/ssl/certs/ca-certificates.crt
)
for variable in http_proxy https_proxy no_proxy HTTP_PROXY HTTPS_PROXY NO_PROXY; do
  [[ -n "${!variable:-}" ]] && environment+=("$variable=${!variable}")
done

# Runs one README command in the root, its output also kept in the root's
# /root/last-step.log.
in_root() {
  step "$* (in the fresh root, commit ${commit:0:12})"
  started=$SECONDS
  interruptible chroot "$root" /usr/bin/env -i "${environment[@]}" /bin/bash -c \
    'set -o pipefail; cd /root/quillmesh && "$@" 2>&1 | tee /root/last-step.log' bash "$@"
  echo "$* took $((SECONDS - started)) s"
}

in_root make test
if grep -q -F 'The following tests did not run' "$root/root/last-step.log"; then
  echo "fresh-debian-test: make test skipped tests; a fresh root must run them all" >&2
  exit 1
fi
in_root make suite
if ! grep -q -x -F '[  PASSED  ] 20 tests.' "$root/root/last-step.log"; then
  echo "fresh-debian-test: make suite did not report 20 passed cases" >&2
  exit 1
fi

#!/usr/bin/env bash
# Deploys the site.
set -euo pipefail

readonly TARGET="${DEPLOY_TARGET:-/var/www}"
VERSION=$(git describe --tags)

log() {
    printf '%s %s\n' "$(date +%T)" "$*" >&2
}

if [[ ! -d "$TARGET" ]]; then
    log "missing target: $TARGET"
    exit 1
fi

for file in dist/*.html; do
    cp -- "$file" "$TARGET/${file##*/}" && echo "copied $file"
done

case "$1" in
    --dry-run) echo 'dry run: nothing
copied' ;;
    *) rsync -a dist/ "$TARGET" ;;
esac
echo $HOME $1 $? $# done

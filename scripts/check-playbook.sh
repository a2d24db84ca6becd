#!/usr/bin/env bash
# The Ansible recipe of docs/deployment.md, as a playbook
# (docs/ansible/remove-printers.yml), through Debian's ansible-core:
# `ansible-playbook --syntax-check` must accept it. Nothing is run against a
# host.
set -u
cd "$(dirname "$0")/.."
. scripts/lib/common.sh
ensure_packages "${ANSIBLE_PACKAGES[@]}" || { echo "could not install the packages"; exit 1; }
ansible-playbook --syntax-check -i localhost, docs/ansible/remove-printers.yml

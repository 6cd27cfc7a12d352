#!/usr/bin/env bash
# Checks that the system's includes run only downward:
#   app -> window -> render -> camera -> platform
# A file may include headers of its own folder and of the folders below it,
# and nothing else of ours (no tests/, no bench/).
#   check-include-direction.sh SOURCE_DIR
set -euo pipefail
cd "$1"
layers=(app window render camera platform)

status=0
for ((i = 0; i < ${#layers[@]}; i++)); do
  allowed=" ${layers[*]:i} "
  [ -d "${layers[i]}" ] || continue
  while IFS= read -r hit; do
    file=${hit%%:*}
    included=$(sed -E 's/.*#[[:space:]]*include[[:space:]]*"([^"]*)".*/\1/' <<<"$hit")
    folder=${included%%/*}
    if [ "$folder" = "$included" ] || [[ $allowed != *" $folder "* ]]; then
      echo "$file includes \"$included\", which is not below ${layers[i]}/"
      status=1
    fi
  done < <(grep -rHE '^[[:space:]]*#[[:space:]]*include[[:space:]]*"' \
    --include='*.h' --include='*.cpp' "${layers[i]}" || true)
done
[ "$status" -eq 0 ] && echo "includes run only downward: ${layers[*]}"
exit "$status"

#!/bin/sh
# Cross-checks the generator with the reference list of first-term moments and checks that
# the compiled table is the generator's current output.
#   tools/jieterms/check.sh [REFERENCE]
# Exit status 0 when both agree, 1 otherwise.
here=$(dirname "$0")
ref=${1:-$here/../../tests/calendar/data/jie-terms-utc8.txt}
status=0
python3 "$here/jieterms.py" check "$ref" || status=1
if python3 "$here/jieterms.py" table --reference "$ref" | cmp -s - "$here/../../calendar/JieTermTable.inc"; then
    echo "calendar/JieTermTable.inc matches the generator"
else
    echo "calendar/JieTermTable.inc differs from the generator output"
    status=1
fi
exit $status

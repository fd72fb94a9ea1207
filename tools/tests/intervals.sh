# Interval columns and expressions in the shell: values as Oracle displays them, DESCRIBE with
# the interval types and their precisions.
source "$(dirname "$0")/lib.bash" "$@"

run "$DB" scott tiger -c "CREATE TABLE trips (id NUMBER(2), planned INTERVAL YEAR TO MONTH,
  took INTERVAL DAY(3) TO SECOND(2));
INSERT INTO trips VALUES (1, '2-6', '4 5:12:10.222');
SELECT planned, took, INTERVAL '4 5:12:10.222' DAY TO SECOND AS lit FROM trips;
DESCRIBE trips"
expect_status 0 "intervals"
expect_out "+02-06" "a YEAR TO MONTH value"
expect_out "+004 05:12:10.22" "a DAY(3) TO SECOND(2) value"
expect_out "+04 05:12:10.222000" "a DAY TO SECOND literal"
expect_out "INTERVAL YEAR(2) TO MONTH" "DESCRIBE of a YEAR TO MONTH column"
expect_out "INTERVAL DAY(3) TO SECOND(2)" "DESCRIBE of a DAY TO SECOND column"

-- Every value kind through the getter its type accepts, NULLs, binds, a batch, CSV and DESCRIBE.
CREATE TABLE samples (
    id     NUMBER(4) GENERATED ALWAYS AS IDENTITY,
    label  VARCHAR2(20) NOT NULL,
    code   CHAR(2),
    amount NUMBER(8,3),
    big    NUMBER,
    small  BINARY_FLOAT,
    ratio  BINARY_DOUBLE,
    count  PLS_INTEGER,
    day    DATE,
    stamp  TIMESTAMP,
    zoned  TIMESTAMP WITH TIME ZONE,
    bytes  RAW(8),
    note   CLOB
);
\set label first
\set -int n 0
\set -double r -2.5
\set -timestamp t 2024-01-15 14:30:05
\set -timestamp z 2023-12-31 23:59:59 -03:30
INSERT INTO samples (label, code, amount, big, small, ratio, count, day, stamp, zoned, bytes, note)
VALUES (:label, 'ab', 1234.5, 12345678901234567890, 0.25, :r, :n, '2024-02-29 10:00:00', :t, :z, x'00FF7F', 'multi
line');
\set label second
\set -null r
INSERT INTO samples (label, ratio) VALUES (:label, :r);
SELECT * FROM samples ORDER BY id;
\load samples.csv samples 2
SELECT label, amount, count FROM samples WHERE id > 2 ORDER BY id;
\csv on
SELECT id, label, code, note FROM samples ORDER BY id;
\csv off
DESCRIBE samples
UPDATE samples SET amount = amount * 2 WHERE amount IS NOT NULL;
DELETE FROM samples WHERE label LIKE 'csv%';
SELECT COUNT(*) AS left_over, SUM(amount) AS total FROM samples;

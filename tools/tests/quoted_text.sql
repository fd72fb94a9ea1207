-- q-quoted literals hold ";", "--", "/*" and ":name" as text: no statement ends inside one.
CREATE TABLE quotes (id NUMBER, body VARCHAR2(60));
INSERT INTO quotes VALUES (1, q'[it's; -- not a comment]');
INSERT INTO quotes VALUES (2, Q'{a;b}'); INSERT INTO quotes VALUES (3, q'!x -- y; z!');
INSERT INTO quotes VALUES (4, nq'<two
lines; one literal>');
INSERT INTO quotes VALUES (5, q'#:name /* stays text#');
INSERT INTO quotes VALUES (6, 'plain; ''quoted'' -- too');
SELECT id, body FROM quotes ORDER BY id;
SELECT q'(;)' || '--' AS joined FROM dual; -- a comment after the end
SELECT COUNT(*) AS semicolons FROM quotes WHERE body LIKE q'[%;%]';

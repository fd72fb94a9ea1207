REM A schema installed the way Oracle install scripts are written for SQL*Plus.
WHENEVER SQLERROR EXIT SQL.SQLCODE
SET DEFINE ON
DEFINE app = Shop
PROMPT Installing &app.
CREATE TABLE customers (
    id    NUMBER(6) GENERATED ALWAYS AS IDENTITY,
    name  VARCHAR2(40) NOT NULL,
    note  VARCHAR2(100)
);
CREATE TABLE orders (
    id          NUMBER(8) NOT NULL,
    customer_id NUMBER(6) NOT NULL,
    amount      NUMBER(10,2)
);
CREATE SEQUENCE order_ids START WITH 1;
CREATE VIEW big_orders AS
    SELECT c.name, o.amount
    FROM orders o JOIN customers c ON c.id = o.customer_id
    WHERE o.amount > 100;
INSERT INTO customers (name, note) VALUES (q'[O'Brien & Sons]', q'{says "hi"; twice}');
INSERT INTO customers (name, note) VALUES (nq'!Zoë's!', NULL);
INSERT INTO orders VALUES (order_ids.NEXTVAL, 1, 250);
INSERT INTO orders VALUES (order_ids.NEXTVAL, 2, 99.5);
INSERT INTO orders VALUES (order_ids.NEXTVAL, 2, 180.25)
/
COMMIT;

PROMPT The package: created whole, nothing in its body runs.
CREATE OR REPLACE PACKAGE shop_api AS
    PROCEDURE add_order(p_customer NUMBER, p_amount NUMBER);
END shop_api;
/
CREATE OR REPLACE PACKAGE BODY shop_api AS
    PROCEDURE add_order(p_customer NUMBER, p_amount NUMBER) IS
    BEGIN
        INSERT INTO orders VALUES (99, p_customer, p_amount);
        COMMIT;
    END add_order;
END shop_api;
/
SELECT COUNT(*) AS orders_after_package FROM orders;

WHENEVER SQLERROR EXIT 3
SELECT name, note FROM customers ORDER BY id;
SELECT name, amount FROM big_orders ORDER BY amount DESC;
/
SELECT * FROM not_installed;
PROMPT never printed

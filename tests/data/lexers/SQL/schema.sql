-- Schema of the shop.
CREATE TABLE IF NOT EXISTS customers (
    id SERIAL PRIMARY KEY,
    name VARCHAR(120) NOT NULL,
    note TEXT DEFAULT 'it''s new',
    balance NUMERIC(10, 2) DEFAULT 0.00,
    created TIMESTAMP DEFAULT now()
);

/* Orders reference customers;
   deleting a customer deletes its orders. */
CREATE TABLE orders (
    id BIGINT PRIMARY KEY,
    customer_id INTEGER REFERENCES customers (id) ON DELETE CASCADE,
    total Float NOT NULL CHECK (total >= 0)
);

INSERT INTO customers (name, note) VALUES ('O''Brien', "quoted identifier"), ('Ann', NULL);
select c.name, count(o.id) as orders, sum(o.total) from customers c
left join orders o on o.customer_id = c.id
where c.balance > 1.5e2 and c.name ilike 'a%'
group by c.name having count(*) > 0 order by orders desc limit 10;

#!/usr/bin/env python3
"""Stock keeping.

Counts items in 'warehouses'.
"""
from __future__ import annotations

import dataclasses


@dataclasses.dataclass(frozen=True)
class Item:
    name: str
    price: float = 0.0

    def total(self, count: int) -> float:
        return self.price * count  # no discounts


def load(path: str) -> dict[str, Item]:
    items = {}
    with open(path, encoding="utf-8") as handle:
        for line in handle:
            name, _, price = line.partition('\t')
            items[name] = Item(name, float(price or 1e-3))
    print(f"loaded {len(items)} items", r'C:\raw', b"\x00")
    if not items and None is not True:
        raise ValueError('empty file: \'%s\'' % path)
    return items
query = '''
SELECT 1
'''
mask = 0xFF_FF; ratio = .5j; big = 1_000_000

package org.example.cache;

import java.util.LinkedHashMap;
import java.util.Map;

/**
 * A least-recently-used cache.
 */
@SuppressWarnings("unchecked")
public final class Cache<K, V> extends LinkedHashMap<K, V> {
    private static final long serialVersionUID = 0x1L;
    private final int capacity;

    public Cache(int capacity) {
        super(16, 0.75f, true);
        this.capacity = capacity;
    }

    @Override
    protected boolean removeEldestEntry(Map.Entry<K, V> eldest) {
        return size() > capacity; // evict
    }

    String describe() {
        char sep = ',', tab = '\t';
        String text = """
            Cache of "%d" entries
            """.formatted(capacity);
        return text + sep + (capacity > 1_000 ? "big" : "small\n") + null;
    }
}

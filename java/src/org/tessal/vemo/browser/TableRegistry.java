package org.tessal.vemo.browser;

import java.util.ArrayList;
import java.util.List;
import java.util.concurrent.ConcurrentHashMap;
import java.util.concurrent.atomic.AtomicInteger;

/**
 * The handler tables this host has put into native memory, by address, with
 * the reference count that CEF keeps through their base header. A table
 * starts with one reference, its creator's; the release that takes the count
 * to zero frees the memory (CEF does not touch an object after its last
 * release) and tells the owner. The thunks in a table are shared by all
 * tables of its kind: the first argument of every member, the table itself,
 * leads to the owner here.
 */
final class TableRegistry {
    interface LastRelease {
        void released(long address);
    }

    private static final class Entry {
        final Object owner;
        final LastRelease onLastRelease;
        final AtomicInteger refs = new AtomicInteger(1);

        Entry(Object owner, LastRelease onLastRelease) {
            this.owner = owner;
            this.onLastRelease = onLastRelease;
        }
    }

    private final ConcurrentHashMap<Long, Entry> entries = new ConcurrentHashMap<>();

    void add(long address, Object owner, LastRelease onLastRelease) {
        entries.put(address, new Entry(owner, onLastRelease));
    }

    /** The owner of the table at {@code address}, or null when it is not (or no longer) ours. */
    Object owner(long address) {
        Entry e = entries.get(address);
        return e == null ? null : e.owner;
    }

    void addRef(long address) {
        Entry e = entries.get(address);
        if (e != null) e.refs.incrementAndGet();
    }

    /** The table's address with one more reference, for a getter to return; 0 when unknown. */
    long share(long address) {
        Entry e = entries.get(address);
        if (e == null) return 0;
        e.refs.incrementAndGet();
        return address;
    }

    /** Drops one reference; true when it was the last and the table is freed. */
    boolean release(long address) {
        Entry e = entries.get(address);
        if (e == null || e.refs.decrementAndGet() != 0) return false;
        if (!entries.remove(address, e)) return false;
        NativeMemory.free(address);
        if (e.onLastRelease != null) e.onLastRelease.released(address);
        return true;
    }

    int refs(long address) {
        Entry e = entries.get(address);
        return e == null ? 0 : e.refs.get();
    }

    int size() {
        return entries.size();
    }

    /** Frees every table still here (at shutdown, after the engine has stopped). */
    void freeAll() {
        List<Long> addresses = new ArrayList<>(entries.keySet());
        for (long address : addresses) {
            Entry e = entries.remove(address);
            if (e == null) continue;
            NativeMemory.free(address);
            if (e.onLastRelease != null) e.onLastRelease.released(address);
        }
    }
}

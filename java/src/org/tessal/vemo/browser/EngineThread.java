package org.tessal.vemo.browser;

import java.util.concurrent.ConcurrentLinkedQueue;
import java.util.concurrent.TimeUnit;
import java.util.function.BooleanSupplier;

/**
 * The one Java thread that is the engine's UI thread: it runs the engine
 * calls that other threads hand over, and a unit of message-loop work
 * whenever the engine has asked for one (on_schedule_message_pump_work, from
 * any thread). While there is nothing to do it sleeps; a unit of work is also
 * run after {@link #IDLE_PUMP_MILLIS} without any request, as a safety net
 * for a request that was never made.
 */
final class EngineThread {
    static final long IDLE_PUMP_MILLIS = 200;

    private final Thread thread;
    private final Runnable pumpWork;
    private final ConcurrentLinkedQueue<Runnable> tasks = new ConcurrentLinkedQueue<>();
    private final Object lock = new Object();
    private boolean pumpRequested; // guarded by lock, with pumpDue
    private long pumpDue; // System.nanoTime() value

    EngineThread(String name, Runnable body, Runnable pumpWork) {
        this.pumpWork = pumpWork;
        this.thread = new Thread(body, name);
        this.thread.setDaemon(true);
    }

    void start() {
        thread.start();
    }

    boolean isCurrent() {
        return Thread.currentThread() == thread;
    }

    void join(long millis) throws InterruptedException {
        thread.join(millis);
    }

    boolean isAlive() {
        return thread.isAlive();
    }

    /** Hands a task to the thread; it runs in order with the others. */
    void post(Runnable task) {
        tasks.add(task);
        synchronized (lock) {
            lock.notifyAll();
        }
    }

    /** The engine asks for a unit of work in {@code delayMillis} (now when 0 or less). */
    void schedulePump(long delayMillis) {
        long due = System.nanoTime() + TimeUnit.MILLISECONDS.toNanos(Math.max(0, delayMillis));
        synchronized (lock) {
            if (!pumpRequested || due - pumpDue < 0) pumpDue = due;
            pumpRequested = true;
            lock.notifyAll();
        }
    }

    /** Runs every task handed over so far; called between polls of a wait as well. */
    void runPendingTasks() {
        Runnable task;
        while ((task = tasks.poll()) != null) task.run();
    }

    /**
     * Runs tasks and requested units of work until {@code done} holds or the
     * deadline (a System.nanoTime() value) passes; returns whether done holds.
     */
    boolean runUntil(BooleanSupplier done, long deadline) {
        while (!done.getAsBoolean()) {
            runPendingTasks();
            if (done.getAsBoolean()) return true;
            long now = System.nanoTime();
            if (now - deadline >= 0) return false;
            boolean pump;
            synchronized (lock) {
                if (tasks.isEmpty() && !(pumpRequested && pumpDue - now <= 0)) {
                    long idleDue = now + TimeUnit.MILLISECONDS.toNanos(IDLE_PUMP_MILLIS);
                    long waitNanos = Math.min(idleDue - now, deadline - now);
                    if (pumpRequested) waitNanos = Math.min(waitNanos, pumpDue - now);
                    try {
                        TimeUnit.NANOSECONDS.timedWait(lock, Math.max(waitNanos, 1));
                    } catch (InterruptedException e) {
                        Thread.currentThread().interrupt();
                        return done.getAsBoolean();
                    }
                    now = System.nanoTime();
                    pump = (pumpRequested && pumpDue - now <= 0) || now - idleDue >= 0;
                } else {
                    pump = pumpRequested && pumpDue - now <= 0;
                }
                if (pump) pumpRequested = false;
            }
            if (pump) pumpWork.run();
        }
        return true;
    }

    /** Takes every task not run yet, for failing them at shutdown. */
    Runnable pollTask() {
        return tasks.poll();
    }
}

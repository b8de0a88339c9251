/** A "decompiler" that never ends in time: it sleeps for ten minutes. */
public class Sleeper {
    public static void main(String[] args) throws InterruptedException {
        Thread.sleep(600_000);
    }
}

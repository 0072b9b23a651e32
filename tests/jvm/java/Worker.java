// main returns while a non-daemon thread still works.
public class Worker {
    public static void main(String[] args) {
        Thread worker = new Thread(() -> {
            try {
                Thread.sleep(500);
            } catch (InterruptedException e) {
                return;
            }
            System.out.println("worker finished");
        });
        worker.start();
        System.out.println("main returns");
    }
}

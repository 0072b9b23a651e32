public class Thrower {
    public static void main(String[] args) {
        Runtime.getRuntime().addShutdownHook(new Thread(() -> System.out.println("shutdown hook ran")));
        System.out.println("main throws");
        throw new IllegalStateException("boom from main");
    }
}

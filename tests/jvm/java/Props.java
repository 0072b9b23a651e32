public class Props {
    public static void main(String[] args) {
        System.out.println("demo.prop=<" + System.getProperty("demo.prop") + ">");
        System.out.println("java.class.path=<" + System.getProperty("java.class.path") + ">");
        System.out.println("max heap MB=" + Runtime.getRuntime().maxMemory() / (1024 * 1024));
    }
}

public class Exits {
    public static void main(String[] args) {
        System.out.println("exiting with 3");
        System.exit(3);
    }
}

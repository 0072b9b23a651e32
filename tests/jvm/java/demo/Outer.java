package demo;

public class Outer {
    public static class Inner {
        public static void main(String[] args) {
            System.out.println("Hello from " + Inner.class.getName());
        }
    }
}

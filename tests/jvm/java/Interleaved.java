// Writes to standard output and standard error in turns, then throws.
public class Interleaved {
    public static void main(String[] args) {
        for (int i = 1; i <= 3; i++) {
            System.out.println("java out " + i);
            System.out.flush();
            System.err.println("java err " + i);
            System.err.flush();
        }
        throw new IllegalStateException("interleaved");
    }
}

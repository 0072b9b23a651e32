// Has a main, but not the one a launcher can call.
public class NoMain {
    public static int main(String[] args) {
        return 0;
    }
}

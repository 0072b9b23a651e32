// Prints each argument as UTF-16 code units, so that the output shows what
// the virtual machine made of the bytes whatever the console's encoding.
public class Args {
    public static void main(String[] args) {
        System.out.println("args " + args.length);
        for (int i = 0; i < args.length; i++) {
            StringBuilder units = new StringBuilder();
            for (char c : args[i].toCharArray()) units.append(String.format(" %04x", (int) c));
            System.out.println(i + ":" + units);
        }
    }
}

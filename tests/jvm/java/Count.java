public class Count {
    public static void main(String[] args) {
        System.out.println("count " + args.length + " first <" + args[0] + "> last <" + args[args.length - 1] + ">");
    }
}

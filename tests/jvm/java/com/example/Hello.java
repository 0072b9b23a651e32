package com.example;

public class Hello {
    public static void main(String[] args) {
        System.out.println("Hello from " + Hello.class.getName());
    }
}

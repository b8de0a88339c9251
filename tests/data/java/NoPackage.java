/** A class in the unnamed package. */
public class NoPackage {
    int value = 42;
}

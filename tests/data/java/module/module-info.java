/** A module descriptor: its class file names the class "module-info". */
module demo.bridge {
    requires java.base;
}

package service;

import java.lang.annotation.Retention;
import java.lang.annotation.RetentionPolicy;

/**
 * A Java class with annotations of its own that Kotlin's share names with: its Java view shows
 * them as they are, with or without the service's option for Kotlin's.
 */
@OwnMetadata.Metadata(k = 1, d1 = {"d1 of my own"})
@OwnMetadata.SourceDebugExtension("SMAP of my own")
public class OwnMetadata {
  @Retention(RetentionPolicy.RUNTIME)
  @interface Metadata {
    int k();

    String[] d1();
  }

  @Retention(RetentionPolicy.RUNTIME)
  @interface SourceDebugExtension {
    String value();
  }

  @Metadata(k = 2, d1 = {})
  int answer() {
    return 42;
  }
}

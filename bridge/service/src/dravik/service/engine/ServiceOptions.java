package dravik.service.engine;

import java.util.ArrayList;
import java.util.Collections;
import java.util.List;

/** The service's own options among a request's, which the engines' parsers must not see. */
public final class ServiceOptions {
  private ServiceOptions() {}

  /** The options without every token that is option. */
  public static List<String> without(List<String> options, String option) {
    List<String> rest = new ArrayList<>(options);
    rest.removeAll(Collections.singletonList(option));
    return rest;
  }
}

package dravik.service;

import java.util.Iterator;
import java.util.LinkedHashMap;
import java.util.Map;

/**
 * The sources of recent requests, in memory only, so that a class viewed again is answered without
 * its engine. The least recently used go first once their bytes (source and path) pass the bound;
 * a source larger than the bound alone is not kept.
 */
final class RecentSources {
  private final long limitBytes;
  // In access order: the eldest entry is the least recently used.
  private final LinkedHashMap<RequestKey, Engine.Source> sources =
      new LinkedHashMap<>(16, 0.75f, true);
  private long bytes;

  RecentSources(long limitBytes) {
    this.limitBytes = limitBytes;
  }

  synchronized Engine.Source get(RequestKey key) {
    return sources.get(key);
  }

  synchronized void put(RequestKey key, Engine.Source source) {
    long size = sizeOf(source);
    if (size > limitBytes) {
      return;
    }
    Engine.Source replaced = sources.put(key, source);
    if (replaced != null) {
      bytes -= sizeOf(replaced);
    }
    bytes += size;
    for (Iterator<Map.Entry<RequestKey, Engine.Source>> eldest = sources.entrySet().iterator();
         bytes > limitBytes;) {
      bytes -= sizeOf(eldest.next().getValue());
      eldest.remove();
    }
  }

  private static long sizeOf(Engine.Source source) {
    return source.bytes.length + 2L * source.relativePath.length();
  }
}

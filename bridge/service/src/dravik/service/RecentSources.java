package dravik.service;

import dravik.service.engine.Engine;
import java.io.ByteArrayOutputStream;
import java.util.Iterator;
import java.util.LinkedHashMap;
import java.util.Map;
import java.util.zip.DataFormatException;
import java.util.zip.Deflater;
import java.util.zip.Inflater;

/**
 * The sources of recent requests, in memory only, so that a class viewed again is answered without
 * its engine. The least recently used go first once their source bytes (and paths) pass the bound;
 * a source larger than the bound alone is not kept. Sources are kept deflated: Java source shrinks
 * to a third or less, so the heap need not have room for the whole bound.
 */
final class RecentSources {
  private final long limitBytes;
  // In access order: the eldest entry is the least recently used.
  private final LinkedHashMap<RequestKey, Kept> sources = new LinkedHashMap<>(16, 0.75f, true);
  private long bytes;

  private static final class Kept {
    final String relativePath;
    final byte[] deflated;
    final int length;

    Kept(String relativePath, byte[] deflated, int length) {
      this.relativePath = relativePath;
      this.deflated = deflated;
      this.length = length;
    }

    long size() {
      return sizeOf(relativePath, length);
    }
  }

  RecentSources(long limitBytes) {
    this.limitBytes = limitBytes;
  }

  /** The source kept for the key, or null. */
  Engine.Source get(RequestKey key) {
    Kept kept;
    synchronized (this) {
      kept = sources.get(key);
    }
    return kept == null ? null
                        : new Engine.Source(kept.relativePath, inflate(kept.deflated, kept.length));
  }

  void put(RequestKey key, Engine.Source source) {
    if (sizeOf(source.relativePath, source.bytes.length) > limitBytes) {
      return;
    }
    Kept kept = new Kept(source.relativePath, deflate(source.bytes), source.bytes.length);
    synchronized (this) {
      Kept replaced = sources.put(key, kept);
      if (replaced != null) {
        bytes -= replaced.size();
      }
      bytes += kept.size();
      for (Iterator<Kept> eldest = sources.values().iterator(); bytes > limitBytes;) {
        bytes -= eldest.next().size();
        eldest.remove();
      }
    }
  }

  // What a source counts against the bound: its bytes and its path's.
  private static long sizeOf(String relativePath, int length) {
    return length + 2L * relativePath.length();
  }

  private static byte[] deflate(byte[] bytes) {
    Deflater deflater = new Deflater(Deflater.BEST_SPEED);
    try {
      deflater.setInput(bytes);
      deflater.finish();
      ByteArrayOutputStream out = new ByteArrayOutputStream(bytes.length / 4 + 64);
      byte[] buffer = new byte[8192];
      while (!deflater.finished()) {
        out.write(buffer, 0, deflater.deflate(buffer));
      }
      return out.toByteArray();
    } finally {
      deflater.end();
    }
  }

  private static byte[] inflate(byte[] deflated, int length) {
    Inflater inflater = new Inflater();
    try {
      inflater.setInput(deflated);
      byte[] bytes = new byte[length];
      for (int n = 0; n < length;) {
        int more = inflater.inflate(bytes, n, length - n);
        if (more == 0 && (inflater.finished() || inflater.needsInput())) {
          throw new IllegalStateException("A kept source is shorter than it was.");
        }
        n += more;
      }
      return bytes;
    } catch (DataFormatException e) {
      throw new IllegalStateException("A kept source does not inflate.", e);
    } finally {
      inflater.end();
    }
  }
}

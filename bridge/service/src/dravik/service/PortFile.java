package dravik.service;

import java.io.IOException;
import java.nio.channels.FileChannel;
import java.nio.channels.FileLock;
import java.nio.charset.StandardCharsets;
import java.nio.file.AccessDeniedException;
import java.nio.file.FileSystems;
import java.nio.file.Files;
import java.nio.file.Path;
import java.nio.file.StandardCopyOption;
import java.nio.file.StandardOpenOption;
import java.nio.file.attribute.AclEntry;
import java.nio.file.attribute.AclEntryPermission;
import java.nio.file.attribute.AclEntryType;
import java.nio.file.attribute.AclFileAttributeView;
import java.nio.file.attribute.PosixFilePermissions;
import java.nio.file.attribute.UserPrincipal;
import java.util.Collections;
import java.util.EnumSet;
import java.util.concurrent.TimeUnit;

/**
 * The file that tells the bridge where the service listens: "PORT SECRET\n" in ASCII, readable by
 * the user alone. One service at a time owns it: the owner holds a lock on "PORT-FILE.lock" for as
 * long as it runs, and a service that cannot take that lock leaves the port file alone and ends.
 * The system drops the lock with the process, so a port file left by a killed service is taken
 * over by the next one.
 */
final class PortFile {
  private static final long REPLACE_TRIES_MILLIS = 5000;
  private static final long REPLACE_PAUSE_MILLIS = 20;

  private final Path path;
  private final Path lockPath;
  private final FileChannel lockChannel;
  private final FileLock lock;
  private String written;
  private boolean released;

  private PortFile(Path path, Path lockPath, FileChannel lockChannel, FileLock lock) {
    this.path = path;
    this.lockPath = lockPath;
    this.lockChannel = lockChannel;
    this.lock = lock;
  }

  /** Takes the port file over, or returns null when a running service owns it. */
  static PortFile claim(Path path) throws IOException {
    Path lockPath = path.resolveSibling(path.getFileName() + ".lock");
    FileChannel channel =
        FileChannel.open(lockPath, StandardOpenOption.CREATE, StandardOpenOption.WRITE);
    FileLock lock;
    try {
      lock = channel.tryLock();
    } catch (IOException | RuntimeException e) {
      channel.close();
      throw e;
    }
    if (lock == null) {
      channel.close();
      return null;
    }
    return new PortFile(path, lockPath, channel, lock);
  }

  /** Replaces the file at once: written to a restricted file beside it, then moved into place. */
  synchronized void publish(int port, String secret) throws IOException {
    String content = port + " " + secret + "\n";
    Path temporary = path.resolveSibling(path.getFileName() + ".tmp");
    Files.deleteIfExists(temporary);
    createOwnerOnly(temporary);
    try {
      Files.write(temporary, content.getBytes(StandardCharsets.US_ASCII));
      moveIntoPlace(temporary);
    } catch (IOException | RuntimeException e) {
      Files.deleteIfExists(temporary);
      throw e;
    }
    written = content;
    // The bridge that started this service marked the start; its removal tells the next bridge
    // that the start worked (a marker left behind means a service that never got this far).
    Files.deleteIfExists(path.resolveSibling(path.getFileName() + ".start"));
  }

  // Windows refuses to replace a file that someone has open, as a bridge reading the old port file
  // has for a moment: the move is tried again for a while.
  private void moveIntoPlace(Path temporary) throws IOException {
    long end = System.nanoTime() + TimeUnit.MILLISECONDS.toNanos(REPLACE_TRIES_MILLIS);
    while (true) {
      try {
        Files.move(
            temporary, path, StandardCopyOption.ATOMIC_MOVE, StandardCopyOption.REPLACE_EXISTING);
        return;
      } catch (AccessDeniedException e) {
        if (System.nanoTime() > end) {
          throw e;
        }
      }
      try {
        Thread.sleep(REPLACE_PAUSE_MILLIS);
      } catch (InterruptedException e) {
        Thread.currentThread().interrupt();
        throw new IOException("interrupted while replacing " + path, e);
      }
    }
  }

  /**
   * Deletes the port file if it still holds what this service wrote, then the lock file, and gives
   * up the lock. Runs
   * once, from whichever of the normal end and the shutdown hook comes first.
   */
  synchronized void closeQuietly() {
    if (released) {
      return;
    }
    released = true;
    try {
      if (written != null && Files.isRegularFile(path)) {
        String current = new String(Files.readAllBytes(path), StandardCharsets.US_ASCII);
        if (current.equals(written)) {
          Files.delete(path);
        }
      }
    } catch (IOException e) {
      // Left behind, the file is stale: the next service takes it over.
    }
    try {
      // Removed while still locked, so that no other service holds a lock on a file gone.
      Files.deleteIfExists(lockPath);
    } catch (IOException e) {
      // Left behind, it is taken over as it is.
    }
    try {
      lock.release();
      lockChannel.close();
    } catch (IOException e) {
      // The process is ending; the system drops the lock with it.
    }
  }

  private static void createOwnerOnly(Path file) throws IOException {
    if (FileSystems.getDefault().supportedFileAttributeViews().contains("posix")) {
      Files.createFile(
          file, PosixFilePermissions.asFileAttribute(PosixFilePermissions.fromString("rw-------")));
      return;
    }
    Files.createFile(file);
    AclFileAttributeView acl = Files.getFileAttributeView(file, AclFileAttributeView.class);
    if (acl != null) {
      UserPrincipal owner = Files.getOwner(file);
      AclEntry ownerOnly =
          AclEntry.newBuilder()
              .setType(AclEntryType.ALLOW)
              .setPrincipal(owner)
              .setPermissions(EnumSet.of(AclEntryPermission.READ_DATA,
                  AclEntryPermission.WRITE_DATA, AclEntryPermission.APPEND_DATA,
                  AclEntryPermission.READ_ATTRIBUTES, AclEntryPermission.WRITE_ATTRIBUTES,
                  AclEntryPermission.READ_NAMED_ATTRS, AclEntryPermission.WRITE_NAMED_ATTRS,
                  AclEntryPermission.READ_ACL, AclEntryPermission.WRITE_ACL,
                  AclEntryPermission.DELETE, AclEntryPermission.SYNCHRONIZE))
              .build();
      acl.setAcl(Collections.singletonList(ownerOnly));
    }
  }
}

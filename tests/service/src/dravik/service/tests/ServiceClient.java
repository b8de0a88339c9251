package dravik.service.tests;

import java.io.BufferedInputStream;
import java.io.ByteArrayOutputStream;
import java.io.DataInputStream;
import java.io.DataOutputStream;
import java.io.IOException;
import java.net.InetAddress;
import java.net.Socket;
import java.net.SocketException;
import java.nio.charset.StandardCharsets;
import java.util.List;
import java.util.Map;

/** The caller's side of the service's protocol, version 3, as the bridge speaks it. */
final class ServiceClient {
  static final int SOURCE = 0;
  static final int FAILED = 1;
  static final int REFUSED = 2;
  /** No answer at all: the service closed the connection. */
  static final int CLOSED = -1;

  /** One answer: a status and either a path with source bytes or a text. */
  record Answer(int status, String path, byte[] bytes) {
    String text() {
      return new String(bytes, StandardCharsets.UTF_8);
    }
  }

  private ServiceClient() {}

  /** A request for a service started without settings (no --settings). */
  static byte[] request(String secret, String engine, List<String> options, ShownClass shown)
      throws IOException {
    return request(secret, "", engine, options, shown);
  }

  static byte[] request(String secret, String settingsKey, String engine, List<String> options,
      ShownClass shown) throws IOException {
    ByteArrayOutputStream buffer = new ByteArrayOutputStream();
    DataOutputStream out = new DataOutputStream(buffer);
    out.writeInt(0x4452564B);
    out.writeShort(3);
    writeText(out, secret);
    writeText(out, settingsKey);
    writeText(out, engine);
    out.writeShort(options.size());
    for (String option : options) {
      writeText(out, option);
    }
    out.writeInt(shown.bytes().length);
    out.write(shown.bytes());
    out.writeShort(shown.members().size());
    for (Map.Entry<String, byte[]> member : shown.members().entrySet()) {
      writeText(out, member.getKey());
      out.writeInt(member.getValue().length);
      out.write(member.getValue());
    }
    return buffer.toByteArray();
  }

  static void writeText(DataOutputStream out, String text) throws IOException {
    byte[] bytes = text.getBytes(StandardCharsets.UTF_8);
    out.writeShort(bytes.length);
    out.write(bytes);
  }

  static Socket connect(int port) throws IOException {
    Socket socket = new Socket(InetAddress.getByName("127.0.0.1"), port);
    socket.setSoTimeout(120_000);
    return socket;
  }

  static Answer exchange(int port, byte[] request) throws IOException {
    try (Socket socket = connect(port)) {
      socket.getOutputStream().write(request);
      return readAnswer(socket);
    }
  }

  static Answer readAnswer(Socket socket) throws IOException {
    DataInputStream in = new DataInputStream(new BufferedInputStream(socket.getInputStream()));
    int status = in.read();
    if (status < 0) {
      return new Answer(CLOSED, null, new byte[0]);
    }
    String path = null;
    if (status == SOURCE) {
      byte[] pathBytes = new byte[in.readUnsignedShort()];
      in.readFully(pathBytes);
      path = new String(pathBytes, StandardCharsets.UTF_8);
    }
    byte[] bytes = new byte[in.readInt()];
    in.readFully(bytes);
    if (in.read() != -1) {
      throw new IOException("more bytes after the answer");
    }
    return new Answer(status, path, bytes);
  }

  /** True when the service closed (or reset) the connection without sending anything. */
  static boolean closedSilently(Socket socket) throws IOException {
    try {
      return socket.getInputStream().read() == -1;
    } catch (SocketException e) {
      return true;
    }
  }
}

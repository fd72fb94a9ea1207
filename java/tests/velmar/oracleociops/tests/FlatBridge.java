package velmar.oracleociops.tests;

/** Test-only door to the library's flat C interface (native/FlatBridge.c). */
final class FlatBridge {
    static {
        // The wrapper loads the library itself first, so the bridge binds to that same copy.
        try {
            Class.forName("velmar.oracleociops.OcciWrapper");
        } catch (ClassNotFoundException e) {
            throw new ExceptionInInitializerError(e);
        }
        System.loadLibrary("kavex_java_bridge");
    }

    private FlatBridge() {}

    static native int openConnection(String connectString, String userName, String password);

    static native int closeConnection(int sessionId);

    static native int executeQuery(int sessionId, String sql);

    static native int nextRow(int sessionId);

    static native String columnName(int sessionId, int index);

    static native String getString(int sessionId, int index, int[] result);
}

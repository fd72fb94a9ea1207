package velmar.oracleociops;

/**
 * The Java entry to System.Data.Kavex.OracleOCIw: 38 native methods over the library's sessions.
 *
 * <p>Every {@code int} result is 0 or a non-negative value of its own on success (a session id,
 * an update count, a row flag, a count, a column property) and a negative error id on failure;
 * {@link #getError(int)} returns the message. No method throws for a database failure. Session
 * ids are shared with the library's flat C interface: an id opened here is valid there and the
 * other way round.
 *
 * <p>Rows and column metadata are delivered into a list the caller passes in: any object with a
 * public {@code boolean add(Object)} method (a {@link java.util.List} is the usual choice).
 * {@link #getRow(int, Object)} appends one element per column of the current row: {@link String}
 * for character, NUMBER, DATE, TIMESTAMP and CLOB columns, {@link Integer}, {@link Float} or
 * {@link Double} for binary numbers, {@code byte[]} for RAW and BLOB columns, and {@code null}
 * for NULL (and for empty texts and LOBs). {@link #getMetaData(int, String, String, Object)}
 * appends the column count followed by twelve values per column: name, schema name, table name,
 * type code, type name, size, scale, precision, nullable, read-only, auto-incremented and
 * database-generated (the last four as 1 or 0).
 *
 * <p>A session may be used by one thread at a time; different sessions may be used from
 * different threads at once.
 *
 * <p>The library is loaded when the class is initialised: from the file named by the system
 * property {@value #LIBRARY_PATH_PROPERTY} when it is set, otherwise by its name
 * ({@value #LIBRARY_NAME}, i.e. {@code libSystem.Data.Kavex.OracleOCIw.so}) from
 * {@code java.library.path}, and when it is not there either, from the copy the jar carries for
 * this platform (see {@link #bundledLibraryResource()}), written to a temporary file first.
 */
public final class OcciWrapper {
    /** System property naming the library file to load instead of searching java.library.path. */
    public static final String LIBRARY_PATH_PROPERTY = "velmar.oracleociops.library";
    /** The library's name as System.loadLibrary takes it. */
    public static final String LIBRARY_NAME = "System.Data.Kavex.OracleOCIw";

    /** Lob kinds for {@link #streamParameterToLob}: CLOB, BLOB and LONG RAW. */
    public static final int LOB_CLOB = 112;
    public static final int LOB_BLOB = 113;
    public static final int LOB_LONG_RAW = 24;

    /** Session property 1: the maximum size of LONG, LONG RAW, RAW and LOB values read. */
    public static final int PROPERTY_MAX_COLUMN_SIZE = 1;

    /**
     * Session property 2, set from any thread (the value is ignored): the call another thread is
     * running on the session fails with ORA-01013 and the session stays usable; with no call
     * running nothing happens.
     */
    public static final int PROPERTY_CANCEL = 2;

    static {
        String path = System.getProperty(LIBRARY_PATH_PROPERTY);
        if (path != null && !path.isEmpty()) {
            System.load(path);
        } else {
            try {
                System.loadLibrary(LIBRARY_NAME);
            } catch (UnsatisfiedLinkError notOnLibraryPath) {
                if (!loadBundledLibrary(notOnLibraryPath)) {
                    throw notOnLibraryPath;
                }
            }
        }
    }

    private OcciWrapper() {}

    /**
     * Where the jar keeps the library built for this platform:
     * {@code velmar/oracleociops/native/<os>-<arch>/<file name>}, e.g.
     * {@code velmar/oracleociops/native/linux-x86_64/libSystem.Data.Kavex.OracleOCIw.so}.
     */
    public static String bundledLibraryResource() {
        String os = System.getProperty("os.name", "").toLowerCase(java.util.Locale.ROOT);
        if (os.startsWith("windows")) {
            os = "windows";
        } else if (os.startsWith("mac")) {
            os = "macos";
        } else {
            os = os.replace(' ', '_');
        }
        String arch = System.getProperty("os.arch", "").toLowerCase(java.util.Locale.ROOT);
        if (arch.equals("amd64") || arch.equals("x86_64")) {
            arch = "x86_64";
        } else if (arch.equals("arm64") || arch.equals("aarch64")) {
            arch = "aarch64";
        }
        return "velmar/oracleociops/native/" + os + "-" + arch + "/"
                + System.mapLibraryName(LIBRARY_NAME);
    }

    // The library is copied out of the jar because a JVM loads native code only from files. The
    // copy lives in a private temporary directory; on systems that allow it the file is removed as
    // soon as it is loaded, elsewhere when the JVM exits. Returns false when the jar carries no
    // library for this platform; a failed copy or load is an UnsatisfiedLinkError.
    private static boolean loadBundledLibrary(UnsatisfiedLinkError notOnLibraryPath) {
        String resource = bundledLibraryResource();
        java.io.InputStream in = OcciWrapper.class.getClassLoader() == null
                ? ClassLoader.getSystemResourceAsStream(resource)
                : OcciWrapper.class.getClassLoader().getResourceAsStream(resource);
        if (in == null) {
            return false;
        }
        java.io.File directory = null;
        java.io.File file = null;
        try (java.io.InputStream library = in) {
            directory = java.nio.file.Files.createTempDirectory("kavex-oracleociw-").toFile();
            directory.deleteOnExit();
            file = new java.io.File(directory, System.mapLibraryName(LIBRARY_NAME));
            file.deleteOnExit();
            java.nio.file.Files.copy(library, file.toPath());
        } catch (java.io.IOException copyFailed) {
            UnsatisfiedLinkError error = new UnsatisfiedLinkError(
                    "cannot copy " + resource + " out of the jar: " + copyFailed);
            error.initCause(copyFailed);
            error.addSuppressed(notOnLibraryPath);
            throw error;
        }
        System.load(file.getAbsolutePath());
        if (file.delete()) {
            directory.delete();
        }
        return true;
    }

    // Sessions and errors.

    /** Opens a session; returns its id (11 or more) or an error id. */
    public static native int openConnection(String connectString, String userName, String password);

    /** Closes the session; always 0, also for an id that names no open session. */
    public static native int closeConnection(int sessionId);

    /**
     * The message stored under errorId, never null. Reading marks the message, and it is erased
     * at the next call; an id that is not stored gives the text delivered last ("Unknown error"
     * before any).
     */
    public static native String getError(int errorId);

    /**
     * Property 1 sets the maximum column size (a value of 0 or less restores 2000); property 2
     * cancels the call running on the session, without waiting for it.
     */
    public static native int setIntSessionProperty(int sessionId, int propertyId, int value);

    // Statements and rows.

    /** Runs sql; returns 0 for a query (rows follow with nextRow) or the update count. */
    public static native int executeQuery(int sessionId, String sql, boolean autoCommit);

    /** Prepares sql for binding and {@link #execute}; returns 0. */
    public static native int prepareQuery(int sessionId, String sql, boolean autoCommit);

    /** Runs the prepared statement again with the values bound since it was prepared. */
    public static native int execute(int sessionId);

    /** Moves to the next row: 1 when a row is current, 0 at the end. */
    public static native int nextRow(int sessionId);

    /**
     * Appends the current row's values to row (see the class description); 1 when every value
     * was appended, 0 when the list has no add(Object) method (NoSuchMethodError is then thrown
     * when this method returns) or the list's add threw (that exception is thrown), or an error
     * id. Does not move the cursor.
     */
    public static native int getRow(int sessionId, Object row);

    /**
     * Adds the first {@code count} values of a row read by getRow to row, in order, one
     * {@code add} each. The library stages the row's plain ASCII texts in {@code texts} rather than
     * making a String for each through JNI: texts starts with one little-endian int per element
     * of {@code values}: the text's length in bytes where the value is a staged text (the texts'
     * bytes follow the ints, in order), -1 where the value is {@code values[i]}, -2 where it is
     * null. Called only by the library, from inside getRow.
     */
    private static void addRow(java.util.Collection<Object> row, Object[] values, byte[] texts,
            int count) {
        int at = 4 * values.length;
        for (int i = 0; i < count; ++i) {
            int header = 4 * i;
            int length = (texts[header] & 0xFF) | (texts[header + 1] & 0xFF) << 8
                    | (texts[header + 2] & 0xFF) << 16 | texts[header + 3] << 24;
            if (length >= 0) {
                row.add(new String(texts, at, length, java.nio.charset.StandardCharsets.ISO_8859_1));
                at += length;
            } else if (length == -1) {
                Object value = values[i];
                values[i] = null;  // the row array outlives the row: hold no value beyond it
                row.add(value);
            } else {
                row.add(null);
            }
        }
    }

    // Parameters (1-based indexes).

    public static native int setNull(int sessionId, int index, int typeCode);

    /** A null value binds NULL whatever isNull says. */
    public static native int setString(int sessionId, int index, String value, boolean isNull);

    public static native int setInt(int sessionId, int index, int value, boolean isNull);

    public static native int setFloat(int sessionId, int index, float value, boolean isNull);

    public static native int setDouble(int sessionId, int index, double value, boolean isNull);

    public static native int setTimestamp(int sessionId, int index, int year, int month, int day,
            int hour, int minute, int second, int fraction, int timeZoneHour, int timeZoneMinute,
            boolean isNull);

    /** Prepares a batch of count iterations of the prepared statement. */
    public static native int setMaxIterations(int sessionId, int count);

    /** The largest size in bytes a variable-length parameter takes in a batch. */
    public static native int setMaxParSize(int sessionId, int index, int size);

    /** Ends the current iteration of a batch; the next binds fill the next one. */
    public static native int addIteration(int sessionId);

    /**
     * Sends the first length bytes of data as the next chunk of a LOB parameter (the lobKind of
     * the first chunk counts); returns length. The array is not changed.
     */
    public static native int streamParameterToLob(int sessionId, int index, int lobKind,
            byte[] data, int length);

    /** Completes the LOB parameter and binds it. */
    public static native int streamParameterToLobLast(int sessionId, int index);

    // Column metadata (0-based indexes).

    /**
     * Appends the count and twelve values per column to metaData (see the class description).
     * With a non-empty objectName the named table or view is described first and becomes the
     * session's column list. The second argument is not used.
     */
    public static native int getMetaData(int sessionId, String unused, String objectName,
            Object metaData);

    public static native int getColumnsCount(int sessionId);

    /** The column's name; null when it is empty, the failure message for a bad index. */
    public static native String getColumnName(int sessionId, int index);

    public static native String getColumnSchemaName(int sessionId, int index);

    public static native String getColumnTableName(int sessionId, int index);

    public static native String getColumnTypeName(int sessionId, int index);

    public static native int getColumnType(int sessionId, int index);

    public static native int getColumnSize(int sessionId, int index);

    public static native int getColumnScale(int sessionId, int index);

    public static native int getColumnPrecision(int sessionId, int index);

    public static native int getColumnIsAutoincremented(int sessionId, int index);

    public static native int getColumnIsReadOnly(int sessionId, int index);

    public static native int getColumnIsDbGenerated(int sessionId, int index);

    public static native int getColumnIsNullable(int sessionId, int index);

    // Single values: they exist for the shape of the interface only. Values are read with
    // getRow; these return null or zero for any arguments and store nothing.

    /** @deprecated always null; read values with {@link #getRow}. */
    @Deprecated
    public static native String getString(int sessionId, int index);

    /** @deprecated always 0; read values with {@link #getRow}. */
    @Deprecated
    public static native int getInteger(int sessionId, int index);

    /** @deprecated always 0; read values with {@link #getRow}. */
    @Deprecated
    public static native float getFloat(int sessionId, int index);

    /** @deprecated always 0; read values with {@link #getRow}. */
    @Deprecated
    public static native double getDouble(int sessionId, int index);
}

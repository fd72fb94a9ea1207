package velmar.oracleociops.tests;

import static org.junit.jupiter.api.Assertions.*;

import java.io.File;
import java.nio.charset.StandardCharsets;
import java.nio.file.Files;
import java.nio.file.Path;
import java.nio.file.Paths;
import java.util.Arrays;
import java.util.List;
import org.junit.jupiter.api.Test;

/** The wrapper loads the library named by a system property instead of searching for it. */
class LibraryLoadingTest {
    /** Run in a fresh JVM: opens a private in-memory session and prints its id. */
    public static final class OpenOnce {
        public static void main(String[] args) {
            int id = velmar.oracleociops.OcciWrapper.openConnection(":memory:", "u", "p");
            System.out.println("session " + id);
            velmar.oracleociops.OcciWrapper.closeConnection(id);
        }
    }

    private static Path builtLibrary() {
        for (String dir : System.getProperty("java.library.path").split(File.pathSeparator)) {
            Path candidate = Paths.get(dir, System.mapLibraryName("System.Data.Kavex.OracleOCIw"));
            if (Files.exists(candidate)) {
                return candidate;
            }
        }
        throw new AssertionError("library not found on java.library.path");
    }

    // Where a class was loaded from (the launcher's class path is not the JVM's own).
    private static String jarOf(Class<?> type) throws Exception {
        return Paths.get(type.getProtectionDomain().getCodeSource().getLocation().toURI()).toString();
    }

    private static String runWith(String... properties) throws Exception {
        Path java = Paths.get(System.getProperty("java.home"), "bin", "java");
        List<String> command = new java.util.ArrayList<>(List.of(java.toString()));
        command.addAll(Arrays.asList(properties));
        // No java.library.path of ours: the library can only come from the property.
        command.addAll(List.of("-Djava.library.path=/nonexistent", "-cp",
                jarOf(OpenOnce.class) + File.pathSeparator + jarOf(velmar.oracleociops.OcciWrapper.class),
                OpenOnce.class.getName()));
        Process process = new ProcessBuilder(command).redirectErrorStream(true).start();
        String output = new String(process.getInputStream().readAllBytes(), StandardCharsets.UTF_8);
        process.waitFor();
        return output;
    }

    @Test
    void theLibraryPropertyNamesTheFile() throws Exception {
        String output = runWith("-Dvelmar.oracleociops.library=" + builtLibrary());
        assertTrue(output.startsWith("session 11"), output);
    }

    @Test
    void withoutThePropertyTheLibraryIsLookedUpByName() throws Exception {
        String output = runWith();
        assertTrue(output.contains("UnsatisfiedLinkError"), output);
        assertTrue(output.contains("System.Data.Kavex.OracleOCIw"), output);
    }
}

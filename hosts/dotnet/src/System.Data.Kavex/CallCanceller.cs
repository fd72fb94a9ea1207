using System.Threading;
using System.Threading.Tasks;

namespace System.Data.Kavex
{
    /// <summary>Cancelling a running library call from outside it: after a command's timeout, or
    /// when an async call's token is cancelled. The library's calls run on the calling thread, so
    /// the cancel comes from the timer's or the token's thread.</summary>
    internal sealed class CallCanceller : IDisposable
    {
        private readonly KavexConnection connection;
        private readonly Timer timer;
        private readonly object gate = new object();
        private bool done;   // under gate: once the call ended, a late timer does nothing

        private CallCanceller(KavexConnection connection, int seconds)
        {
            this.connection = connection;
            timer = new Timer(static state => ((CallCanceller)state!).Fire(), this, seconds * 1000L, Timeout.Infinite);
        }

        /// <summary>A timer that cancels the connection's running call after the seconds; null for
        /// 0 (no limit). Dispose it when the call returns.</summary>
        public static CallCanceller? After(int seconds, KavexConnection connection) =>
            seconds > 0 ? new CallCanceller(connection, seconds) : null;

        private void Fire()
        {
            lock (gate)
            {
                if (!done) connection.BreakRunningCall();
            }
        }

        public void Dispose()
        {
            lock (gate) done = true;
            timer.Dispose();
        }

        /// <summary>An async call: a token cancelled before the call gives a cancelled task; one
        /// cancelled while it runs cancels it (cancel), and its ORA-01013 gives a cancelled task
        /// too. Other failures give a faulted task, as DbCommand's own async methods do.</summary>
        public static Task<T> Run<T>(CancellationToken token, Action cancel, Func<T> work)
        {
            if (token.IsCancellationRequested) return Task.FromCanceled<T>(token);
            try
            {
                // Disposing the registration waits for a cancel in progress.
                using (token.Register(cancel)) return Task.FromResult(work());
            }
            catch (KavexException e) when (e.Number == 1013 && token.IsCancellationRequested)
            {
                return Task.FromCanceled<T>(token);
            }
            catch (Exception e)
            {
                return Task.FromException<T>(e);
            }
        }
    }
}

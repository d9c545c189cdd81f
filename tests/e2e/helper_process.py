"""The helper process on pipes, and the snapshots the end-to-end tests send it."""

import json
import os
import select
import subprocess
import time

WAIT_S = 10.0


LANGUAGES = [
    ("de", "German"), ("en", "English"), ("es", "Spanish"), ("fr", "French"),
    ("ja", "Japanese"), ("pt-br", "Portuguese (Brazil)"),
]


def base_snapshot(generation=1, **fields):
    """A complete snapshot as a host would send it; fields override the defaults."""
    snapshot = dict(
        generation=generation, lifecycle="inactive", statusMessage="Ready", hasFailure=False,
        canRequestMoreTime=False, isSessionActive=False, isStartEnabled=True,
        sourceLanguage="es", targetLanguage="en", selectedAudioSourceID="mac-audio",
        sourceLanguages=[{"id": "multi", "displayName": "Detect automatically"}]
        + [{"id": i, "displayName": n} for i, n in LANGUAGES],
        targetLanguages=[{"id": i, "displayName": n} for i, n in LANGUAGES],
        audioSources=[{"id": "mac-audio", "displayName": "All system audio"},
                      {"id": "bundle:org.example.Player", "displayName": "Player"}],
        actualAudioSourceDescription="All system audio", droppedCaptureBuffers=0,
        captureAudioLevel=0.0, appearanceMode="light", showsSourceText=True, committedCards=[])
    snapshot.update(fields)
    return snapshot


def active_snapshot(generation, **fields):
    values = dict(lifecycle="listening", statusMessage="Listening", isSessionActive=True,
                  isStartEnabled=False)
    values.update(fields)
    return base_snapshot(generation, **values)


class Failure(AssertionError):
    pass


class Fatal(Failure):
    """A failure that no amount of waiting mends: the process under test has ended, say."""


def wait_for(predicate, what, timeout=15.0):
    """Polls predicate until it returns a true value, which is returned; errors on the way (the
    tree changes under us while the panel redraws) are retried, but not Fatal ones."""
    deadline, last_error = time.monotonic() + timeout, None
    while True:
        try:
            value = predicate()
            if value:
                return value
        except Fatal:
            raise
        except Exception as error:
            last_error = error
        if time.monotonic() > deadline:
            detail = f" (last error: {last_error})" if last_error else ""
            raise Failure(f"timed out after {timeout:.0f} s waiting for {what}{detail}")
        time.sleep(0.03)


class Helper:
    """The helper process with pipes on its standard input and output (its standard error goes to
    log_path, if given)."""

    def __init__(self, program, env=None, log_path=None):
        self.log = open(log_path, "wb") if log_path else None
        self.process = subprocess.Popen([program], stdin=subprocess.PIPE,
                                        stdout=subprocess.PIPE, stderr=self.log, env=env)
        self.output = b""
        self.taken = 0  # the bytes of output that read_line handed out

    def send_raw(self, data):
        self.process.stdin.write(data)
        self.process.stdin.flush()

    def send(self, message):
        line = message if isinstance(message, str) else json.dumps(message)
        self.send_raw(line.encode() + b"\n")

    def snapshot(self, snapshot):
        self.send({"type": "snapshot", "snapshot": snapshot})

    def show(self):
        self.send({"type": "show"})

    def _read_some(self, wait):
        """Reads what the helper writes within wait seconds; False once its output has ended."""
        ready, _, _ = select.select([self.process.stdout], [], [], max(wait, 0))
        if not ready:
            return True
        chunk = os.read(self.process.stdout.fileno(), 65536)
        self.output += chunk
        return bool(chunk)

    def read_line(self, timeout=WAIT_S):
        """The next line not yet read, with its line feed; None if none comes within timeout, b""
        once the output has ended."""
        deadline = time.monotonic() + timeout
        while (end := self.output.find(b"\n", self.taken)) < 0:
            if deadline <= time.monotonic():
                return None
            if not self._read_some(deadline - time.monotonic()):
                return b""
        line, self.taken = self.output[self.taken:end + 1], end + 1
        return line

    def expect_lines(self, *expected: bytes, timeout=WAIT_S):
        """The next lines must be exactly these bytes, each with its line feed."""
        for want in expected:
            got = self.read_line(timeout)
            if got != want + b"\n":
                raise Failure(f"expected the line {want!r}, the helper wrote {got!r}")

    def rest(self):
        """Once the helper has ended: the lines it wrote that were not read yet."""
        lines = []
        while line := self.read_line():
            lines.append(line)
        return lines

    def close(self):
        """Closes standard input, which ends the helper; it must end with status 0, and must have
        written no command beyond those the test read."""
        try:
            self.process.stdin.close()
        except BrokenPipeError:
            pass
        try:
            code = self.process.wait(timeout=WAIT_S)
        except subprocess.TimeoutExpired:
            raise Failure("the helper did not end when its standard input closed") from None
        if code != 0:
            raise Failure(f"the helper ended with code {code}")
        if self.rest():
            raise Failure(f"the helper wrote unexpected commands: {self.rest()}")

    def close_stdout(self):
        self.process.stdout.close()
        self.process.stdout = None

    def wait(self, timeout=WAIT_S):
        return self.process.wait(timeout=timeout)

    def stop(self):
        if self.process.poll() is None:
            self.process.kill()
            self.process.wait()
        for stream in (self.process.stdin, self.process.stdout):
            if stream is not None:
                try:
                    stream.close()
                except BrokenPipeError:
                    pass
        if self.log is not None:
            self.log.close()

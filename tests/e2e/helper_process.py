"""A private X server and the helper process on pipes, for the end-to-end tests."""

import json
import os
import select
import subprocess
import time

WAIT_S = 10.0


def wait_until(predicate, timeout=WAIT_S, interval=0.02):
    deadline = time.monotonic() + timeout
    while True:
        value = predicate()
        if value or time.monotonic() > deadline:
            return value
        time.sleep(interval)


class Xvfb:
    """A private X server on a free display number, kept between clients (-noreset)."""

    def __init__(self, width, height):
        read_end, write_end = os.pipe()
        self.process = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_end), "-screen", "0",
             "%dx%dx24" % (width, height), "-nolisten", "tcp", "-noreset"],
            pass_fds=(write_end,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write_end)
        number = b""
        while not number.endswith(b"\n"):
            ready, _, _ = select.select([read_end], [], [], WAIT_S)
            chunk = os.read(read_end, 16) if ready else b""
            if not chunk:
                raise RuntimeError("Xvfb did not start")
            number += chunk
        os.close(read_end)
        self.display = ":" + number.decode().strip()

    def close(self):
        self.process.terminate()
        self.process.wait(timeout=WAIT_S)


class Helper:
    """The helper process with pipes on its standard input and output."""

    def __init__(self, program, env, log_path):
        self.log = open(log_path, "wb")
        self.process = subprocess.Popen([program], stdin=subprocess.PIPE,
                                        stdout=subprocess.PIPE, stderr=self.log, env=env)
        self.output = b""

    def send(self, message):
        line = message if isinstance(message, str) else json.dumps(message)
        self.process.stdin.write(line.encode() + b"\n")
        self.process.stdin.flush()

    def commands(self, wanted=0, timeout=WAIT_S):
        """The command lines written so far, after waiting for at least `wanted` of them."""
        deadline = time.monotonic() + timeout
        stdout = self.process.stdout
        while stdout is not None:
            enough = self.output.count(b"\n") >= wanted
            # Enough lines: one short look for more. Too few: wait up to the deadline.
            wait = 0.05 if enough else deadline - time.monotonic()
            if wait <= 0:
                break
            ready, _, _ = select.select([stdout], [], [], wait)
            if not ready:
                if enough:
                    break
                continue
            chunk = os.read(stdout.fileno(), 65536)
            if not chunk:
                break
            self.output += chunk
        return [json.loads(line) for line in self.output.decode().splitlines()]

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
        self.log.close()

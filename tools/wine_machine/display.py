"""The X display a case's windows appear on: a private Xvfb server, or the
display the tester is sitting at."""

import os
import select
import subprocess

SCREEN = "800x600x24"


class DisplayError(Exception):
    pass


class Display:
    def __init__(self, name, server=None):
        self.name = name
        self._server = server

    @classmethod
    def xvfb(cls, log=None):
        """Starts an Xvfb server on a free display number."""
        read_end, write_end = os.pipe()
        try:
            server = subprocess.Popen(
                ["Xvfb", "-displayfd", str(write_end), "-screen", "0", SCREEN,
                 "-nolisten", "tcp"],
                pass_fds=[write_end], stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                stderr=log or subprocess.DEVNULL, start_new_session=True)
        except OSError as error:
            raise DisplayError("Xvfb does not start: %s" % error)
        finally:
            os.close(write_end)
        number = b""
        try:
            while not number.endswith(b"\n"):
                ready, _, _ = select.select([read_end], [], [], 10)
                if not ready:
                    server.kill()
                    raise DisplayError("Xvfb gave no display number within 10 s")
                chunk = os.read(read_end, 16)
                if not chunk:
                    try:
                        code = server.wait(5)
                    except subprocess.TimeoutExpired:
                        server.kill()
                        code = server.wait()
                    raise DisplayError("Xvfb ended at once (exit %s)" % code)
                number += chunk
        finally:
            os.close(read_end)
        return cls(":" + number.decode().strip(), server)

    @classmethod
    def current(cls):
        """The display named by $DISPLAY, once it answers."""
        name = os.environ.get("DISPLAY")
        if not name:
            raise DisplayError("--visible needs a display, but DISPLAY is not set")
        problem = cls(name).screenshot(os.devnull, area="1x1+0+0")
        if problem:
            raise DisplayError("the display %s does not answer: %s" % (name, problem))
        return cls(name)

    def screenshot(self, path, area=None):
        """Saves the whole screen (or an area, "WxH+X+Y") as PNG; returns an
        error text or None."""
        crop = ["-crop", area] if area else []
        try:
            result = subprocess.run(["import", "-display", self.name, "-window", "root"] + crop
                                    + ["png:" + path],
                                    capture_output=True, text=True, timeout=20)
        except (OSError, subprocess.TimeoutExpired) as error:
            return str(error)
        return None if result.returncode == 0 else result.stderr.strip()

    def stop(self):
        if self._server and self._server.poll() is None:
            self._server.terminate()
            try:
                self._server.wait(5)
            except subprocess.TimeoutExpired:
                self._server.kill()
                self._server.wait()

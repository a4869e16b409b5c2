"""Radicale's own file storage without the two costs that grow with the
address book on every PUT, for the sync benchmark (the plain client and the
sync use it alike):

- the UID check of a new card reads and hashes every card of the collection
  (and its cache entry); here it asks a UID index kept in memory, made from
  the cards once and kept up to date by every write;
- every upload scans the collection's cache folders for entries of deleted
  cards; here only a DELETE does (a leftover entry does no harm: it is checked
  against the card's hash before use).

Writes are not flushed to disk (Radicale's own _filesystem_fsync = False).
"""
import collections

import radicale.storage.multifilesystem as multifilesystem


class Collection(multifilesystem.Collection):

    def _index(self):
        indexes = self._storage.uid_indexes
        if self.path not in indexes:
            uids = {item.href: item.uid for item in self.get_all()}
            indexes[self.path] = (uids, collections.Counter(uids.values()))
        return indexes[self.path]

    def _forget(self, href):
        uids, counts = self._index()
        uid = uids.pop(href, None)
        if uid is not None:
            counts[uid] -= 1
            if counts[uid] == 0:
                del counts[uid]

    def has_uid(self, uid):
        return uid in self._index()[1]

    def upload(self, href, item):
        self._forget(href)
        self._uploading = True
        try:
            uploaded = super().upload(href, item)
        finally:
            self._uploading = False
        uids, counts = self._index()
        uids[href] = uploaded.uid
        counts[uploaded.uid] += 1
        return uploaded

    def delete(self, href=None):
        if href is None:
            self._storage.uid_indexes.pop(self.path, None)
        else:
            self._forget(href)
        super().delete(href)

    def _clean_item_cache(self):
        if not getattr(self, "_uploading", False):
            super()._clean_item_cache()

    def _clean_history(self):
        if not getattr(self, "_uploading", False):
            super()._clean_history()


class Storage(multifilesystem.Storage):

    _collection_class = Collection

    def __init__(self, configuration):
        super().__init__(configuration)
        self._filesystem_fsync = False
        self.uid_indexes = {}

    def create_collection(self, href, items=None, props=None):
        self.uid_indexes.clear()
        return super().create_collection(href, items, props)

    def move(self, item, to_collection, to_href):
        self.uid_indexes.clear()
        super().move(item, to_collection, to_href)
